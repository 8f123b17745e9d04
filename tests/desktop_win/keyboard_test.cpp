// The character keyboard of Encoder under Wine: its keys clicked from this second process.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "encoder_driver.h"
#include "symbology_table.h"

namespace {

constexpr int kData = 1000, kSymbology = 1004, kKeyboardTool = 601;
constexpr RECT kOutputArea = {13, 169, 387, 465};

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
    const struct { int id, x, y; } places[] = {{1016, 10, 10}, {1019, 130, 10}, {1032, 330, 40}, {1041, 330, 70},
                                               {1047, 210, 100}, {1048, 250, 100}, {1, 10, 160}};
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
    ASSERT_TRUE(Click(1019, L"AB&#3;")) << "ETX";
    const auto after = Capture(main, kOutputArea);
    EXPECT_NE(before.pixels, after.pixels) << "the symbol was not encoded again";
    ASSERT_TRUE(Click(1048, L"AB&#3;&#127;")) << "DEL";
    ASSERT_TRUE(Click(1057, L"AB&#3;&#127;&#247;")) << "FNC1 of Code 128";
    ASSERT_TRUE(Click(1058, L"AB&#3;&#127;&#247;&#246;")) << "FNC4";

    // The long sample of Royal Mail CMDM (well over 127 characters) is kept whole.
    Choose(L"Royal Mail CMDM");
    const std::wstring sample = TextOf(data);
    ASSERT_GT(sample.size(), 127u);
    EXPECT_TRUE(Click(1029, sample + L"&#13;")) << "CR after a long text";
}

TEST_F(Keyboard, FunctionKeysShowForTheirKindsOnly) {
    ::SendMessageW(::GetDlgItem(main, kKeyboardTool), BM_CLICK, 0, 0);
    Settle(main);
    const int fnc[] = {1057, 1051, 1053, 1058};
    const struct { const wchar_t* row; bool shown; } rows[] = {
        {L"Code 39", false}, {L"Code128B", true}, {L"Data Matrix", true}, {L"Interleaved 2 of 5", false}};
    for (const auto& r : rows) {
        if (!ChooseEntry(pane, kSymbology, r.row)) {
            ADD_FAILURE() << "row not listed";
            continue;
        }
        Settle(keys);
        for (int id : fnc) EXPECT_EQ(Shown(id), r.shown) << id;
        EXPECT_FALSE(Shown(1055));
        EXPECT_FALSE(Shown(1056));
        EXPECT_FALSE(Shown(1062));
    }
    Choose(L"Data Matrix");
    ::SendMessageW(data, EM_SETSEL, 0, -1);
    ASSERT_TRUE(TypeInto(data, L"x", L"x"));
    EXPECT_TRUE(Click(1057, L"x&#232;")) << "FNC1 of Data Matrix";
    Choose(L"Code 39");
    ::SendMessageW(data, EM_SETSEL, 0, -1);
    ASSERT_TRUE(TypeInto(data, L"y", L"y"));
    ::PostMessageW(::GetDlgItem(keys, 1057), BM_CLICK, 0, 0);  // hidden, and nothing for this kind
    ASSERT_TRUE(Click(1016, L"y&#0;"));
}
