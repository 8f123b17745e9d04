// The character keyboard of Encoder under Wine: its keys clicked from this second process.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "encoder_driver.h"
#include "resource.h"
#include "symbology_table.h"

namespace {

constexpr int kData = IDC_DATA, kSymbology = IDC_SYMBOLOGY, kKeyboardTool = IDC_TOOL_KEYBOARD;
constexpr RECT kOutputArea = {13, 169, 387, 400};

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.Start());
        main = app.WaitMain();
        ASSERT_NE(main, nullptr);
        pane = app.Pane();
        keys = app.Keyboard();
        ASSERT_NE(pane, nullptr);
        ASSERT_NE(keys, nullptr) << "no keyboard pane";
        data = ::GetDlgItem(main, kData);
    }
    void Choose(const wchar_t* row) { ASSERT_TRUE(ChooseEntry(pane, kSymbology, row)) << "row not listed"; Settle(main); }
    // Clicks a key as the mouse would (press and release on the button) and waits for the field.
    bool Click(int id, const std::wstring& expect) {
        ::PostMessageW(::GetDlgItem(keys, id), BM_CLICK, 0, 0);
        for (int i = 0; i < 200; ++i) {
            if (TextOf(data) == expect) {
                Settle(main);
                return true;
            }
            ::Sleep(20);
        }
        return false;
    }
    bool Shown(int id) { return ::IsWindowVisible(::GetDlgItem(keys, id)) != 0; }
    EncoderProcess app;
    HWND main = nullptr, pane = nullptr, keys = nullptr, data = nullptr;
};

}  // namespace

TEST_F(Keyboard, ToolButtonShowsThePaneWithItsKeysLaidOutUnderTheWindow) {
    EXPECT_FALSE(::IsWindowVisible(keys));
    ::SendMessageW(::GetDlgItem(main, kKeyboardTool), BM_CLICK, 0, 0);
    Settle(main);
    ASSERT_TRUE(::IsWindowVisible(keys));
    RECT window{}, pane{};
    ::GetWindowRect(main, &window);
    ::GetWindowRect(keys, &pane);
    EXPECT_EQ(pane.left, window.left + 12);
    EXPECT_EQ(pane.top, window.bottom);
    const struct { int id, x, y; } places[] = {{IDC_KEY_NUL, 10, 10}, {IDC_KEY_ETX, 130, 10}, {IDC_KEY_DLE, 330, 40},
                                               {IDC_KEY_EM, 330, 70}, {IDC_KEY_US, 210, 100},
                                               {IDC_KEY_DEL, 250, 100}, {IDOK, 10, 160}};
    for (const auto& p : places) {
        RECT r{};
        ::GetWindowRect(::GetDlgItem(keys, p.id), &r);
        POINT at{r.left, r.top};
        ::ScreenToClient(keys, &at);
        EXPECT_EQ(at.x, p.x) << p.id;
        EXPECT_EQ(at.y, p.y) << p.id;
        EXPECT_EQ(r.right - r.left, 38) << p.id;
        EXPECT_EQ(r.bottom - r.top, 25) << p.id;
    }
    ::SendMessageW(::GetDlgItem(main, kKeyboardTool), BM_CLICK, 0, 0);
    Settle(main);
    EXPECT_FALSE(::IsWindowVisible(keys));
}

TEST_F(Keyboard, KeysAppendEscapesKeepTheWholeTextAndEncodeAgain) {
    Choose(L"Code128A");
    ::SendMessageW(data, EM_SETSEL, 0, -1);
    ASSERT_TRUE(TypeInto(data, L"AB", L"AB"));
    Settle(main);
    const auto before = Capture(main, kOutputArea);
    ASSERT_TRUE(Click(IDC_KEY_ETX, L"AB&#3;")) << "ETX";
    const auto after = Capture(main, kOutputArea);
    EXPECT_NE(before.pixels, after.pixels) << "the symbol was not encoded again";
    ASSERT_TRUE(Click(IDC_KEY_DEL, L"AB&#3;&#127;")) << "DEL";
    ASSERT_TRUE(Click(IDC_KEY_FNC1, L"AB&#3;&#127;&#247;")) << "FNC1 of Code 128";
    ASSERT_TRUE(Click(IDC_KEY_FNC4, L"AB&#3;&#127;&#247;&#246;")) << "FNC4";

    // The long sample of Royal Mail CMDM (well over 127 characters) is kept whole.
    Choose(L"Royal Mail CMDM");
    const std::wstring sample = TextOf(data);
    ASSERT_GT(sample.size(), 127u);
    EXPECT_TRUE(Click(IDC_KEY_CR, sample + L"&#13;")) << "CR after a long text";
}

TEST_F(Keyboard, FunctionKeysShowForTheirKindsOnly) {
    ::SendMessageW(::GetDlgItem(main, kKeyboardTool), BM_CLICK, 0, 0);
    Settle(main);
    const int fnc[] = {IDC_KEY_FNC1, IDC_KEY_FNC2, IDC_KEY_FNC3, IDC_KEY_FNC4};
    const struct { const wchar_t* row; bool shown; } rows[] = {
        {L"Code 39", false}, {L"Code128B", true}, {L"Data Matrix", true}, {L"Interleaved 2 of 5", false}};
    for (const auto& r : rows) {
        if (!ChooseEntry(pane, kSymbology, r.row)) {
            ADD_FAILURE() << "row not listed";
            continue;
        }
        Settle(keys);
        for (int id : fnc) EXPECT_EQ(Shown(id), r.shown) << id;
        EXPECT_FALSE(Shown(IDC_KEY_STOP));
        EXPECT_FALSE(Shown(IDC_KEY_SHIFT));
        EXPECT_FALSE(Shown(IDC_KEY_SHIFT2));
    }
    Choose(L"Data Matrix");
    ::SendMessageW(data, EM_SETSEL, 0, -1);
    ASSERT_TRUE(TypeInto(data, L"x", L"x"));
    EXPECT_TRUE(Click(IDC_KEY_FNC1, L"x&#232;")) << "FNC1 of Data Matrix";
    Choose(L"Code 39");
    ::SendMessageW(data, EM_SETSEL, 0, -1);
    ASSERT_TRUE(TypeInto(data, L"y", L"y"));
    ::PostMessageW(::GetDlgItem(keys, IDC_KEY_FNC1), BM_CLICK, 0, 0);  // hidden, and nothing for this kind
    ASSERT_TRUE(Click(IDC_KEY_NUL, L"y&#0;"));
    // The NUL key's escape is not in the symbol, even of a row whose set has NUL: the line says so.
    Choose(L"Code128A");
    ::SendMessageW(data, EM_SETSEL, 0, -1);
    ASSERT_TRUE(TypeInto(data, L"A", L"A"));
    ASSERT_TRUE(Click(IDC_KEY_NUL, L"A&#0;"));
    EXPECT_EQ(TextOf(::GetDlgItem(main, IDC_MESSAGE_LINE)), L"The NUL character cannot be encoded and is left out.");
}
