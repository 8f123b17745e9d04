// Dialogs of the layer: reflection, data exchange and its lockout, the modal loop with its
// PreTranslateMessage walk, command routing, WM_QUIT, and a modeless pane.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework.h"
#include "ui_support.h"

namespace {

// A posted message that no PreTranslateMessage of the layer takes.
constexpr UINT WalkProbe = WM_APP + 7;
constexpr int IdSingle = 1001, IdMulti = 1002, IdNumber = 1003, IdCheck = 1004, IdDraw = 1005;

// The single-line edit: counts the texts written to it and decides whether it keeps the
// reflected EN_CHANGE for itself.
class CountingEdit : public CEdit {
public:
    int setTexts = 0, reflectedChanges = 0;
    bool keepChange = false;
    HBRUSH colour = nullptr;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETTEXT) ++setTexts;
        return CEdit::WindowProc(message, wParam, lParam);
    }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
            ++reflectedChanges;
            return keepChange;
        }
        if (message == WM_NOTIFY) {
            *result = 77;
            return TRUE;
        }
        if (message == WM_CTLCOLOREDIT && colour) {
            *result = reinterpret_cast<LRESULT>(colour);
            return TRUE;
        }
        return FALSE;
    }
};

class GreenButton : public CButton {
public:
    void DrawItem(DRAWITEMSTRUCT* dis) override {
        CDC dc;
        dc.Attach(dis->hDC);
        dc.FillSolidRect(&dis->rcItem, RGB(0, 160, 0));
        dc.Detach();
    }
};

class TestDialog : public ScriptedDialog {
public:
    TestDialog() : ScriptedDialog(100) {}
    CString text{L"abc"}, multi{L"one"};
    int number = 5, check = 1;
    CountingEdit single;
    GreenButton draw;
    int dialogChanges = 0, dialogCommands = 0;
    std::vector<std::string> preTranslated;
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IdSingle, single);
        DDX_Control(dx, IdDraw, draw);
        DDX_Text(dx, IdSingle, text);
        DDX_Text(dx, IdMulti, multi);
        DDX_Text(dx, IdNumber, number);
        DDX_Check(dx, IdCheck, check);
    }
    BOOL OnCmdMsg(UINT id, int code) override {
        if (id == IdSingle && code == EN_CHANGE) {
            ++dialogChanges;
            return TRUE;
        }
        if (id == 2001 && code == 0) {
            ++dialogCommands;
            return TRUE;
        }
        return ScriptedDialog::OnCmdMsg(id, code);
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WalkProbe) preTranslated.push_back("dialog");
        return ScriptedDialog::PreTranslateMessage(msg);
    }
};

// A modeless use of the test dialog, without a loop: messages are sent.
struct Modeless : ::testing::Test {
    TestDialog dlg;
    void SetUp() override { ASSERT_TRUE(dlg.Create(100)); }
};

TEST_F(Modeless, DataExchangeWritesTheControlsWithoutTheirChangeNotifications) {
    // OnInitDialog wrote the values: the single-line edit's EN_CHANGE did not get through.
    EXPECT_EQ(::GetWindowTextLengthW(::GetDlgItem(dlg, IdSingle)), 3);
    EXPECT_EQ(dlg.dialogChanges, 0);
    EXPECT_EQ(dlg.single.reflectedChanges, 0);
    EXPECT_EQ(::SendDlgItemMessageW(dlg, IdCheck, BM_GETCHECK, 0, 0), BST_CHECKED);
    // Outside the data exchange the same edit does notify.
    dlg.single.SetWindowText(L"typed");
    EXPECT_EQ(dlg.single.reflectedChanges, 1);
    EXPECT_EQ(dlg.dialogChanges, 1);
    // A changed value is written (still without notification), an unchanged one is not.
    dlg.text = L"new";
    int before = dlg.single.setTexts;
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(dlg.single.setTexts, before + 1);
    EXPECT_EQ(dlg.dialogChanges, 1);
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(dlg.single.setTexts, before + 1);
}

TEST_F(Modeless, DataExchangeReadsTextsNumbersAndChecks) {
    ::SetDlgItemTextW(dlg, IdSingle, L"from user");
    ::SetDlgItemTextW(dlg, IdMulti, L"two\r\nlines");
    ::SetDlgItemTextW(dlg, IdNumber, L"  -42 ");
    ::SendDlgItemMessageW(dlg, IdCheck, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.text, L"from user");
    EXPECT_EQ(dlg.multi, L"two\r\nlines");
    EXPECT_EQ(dlg.number, -42);
    EXPECT_EQ(dlg.check, 0);
}

TEST_F(Modeless, ANumberThatIsNotAnIntegerIsRefusedWithThePrompt) {
    for (const wchar_t* bad : {L"4x2", L"", L"99999999999"}) {
        ::SetDlgItemTextW(dlg, IdNumber, bad);
        std::wstring shown;
        AnswerNextMessageBox(&shown);
        EXPECT_FALSE(dlg.UpdateData(TRUE));
        EXPECT_EQ(shown, L"Please enter an integer.");
        EXPECT_EQ(dlg.number, 5) << "the value is kept";
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dlg, IdNumber));
    }
}

TEST_F(Modeless, ReflectedNotificationsReachTheParentOnlyWhenTheControlLetsThem) {
    dlg.single.keepChange = true;
    dlg.single.SetWindowText(L"kept");
    EXPECT_EQ(dlg.single.reflectedChanges, 1);
    EXPECT_EQ(dlg.dialogChanges, 0);
    dlg.single.keepChange = false;
    dlg.single.SetWindowText(L"passed");
    EXPECT_EQ(dlg.single.reflectedChanges, 2);
    EXPECT_EQ(dlg.dialogChanges, 1);
    // WM_NOTIFY from the control comes back with the control's answer.
    NMHDR hdr{dlg.single.m_hWnd, IdSingle, NM_CLICK};
    EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, IdSingle, reinterpret_cast<LPARAM>(&hdr)), 77);
}

TEST_F(Modeless, ColourAndOwnerDrawingAreReflectedToTheControl) {
    CBrush red(RGB(200, 0, 0));
    dlg.single.colour = red;
    Picture edit = Picture::PrintClient(dlg.single);
    EXPECT_EQ(edit.At(edit.width - 3, edit.height / 2), RGB(200, 0, 0));
    Picture button = Picture::PrintClient(dlg.draw);
    EXPECT_EQ(button.At(button.width / 2, button.height / 2), RGB(0, 160, 0));
    dlg.single.colour = nullptr;
    edit = Picture::PrintClient(dlg.single);
    EXPECT_NE(edit.At(edit.width - 3, edit.height / 2), RGB(200, 0, 0));
}

// An owner-drawn combo box made at run time measures its items through its own object.
TEST_F(Modeless, MeasureItemIsReflectedToTheControl) {
    struct TallCombo : CComboBox {
        void MeasureItem(MEASUREITEMSTRUCT* mis) override { mis->itemHeight = 23; }
    } combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                             CRect(10, 90, 100, 200), &dlg, 1200));
    EXPECT_EQ(combo.SendMessage(CB_GETITEMHEIGHT, 0), 23);
}

// Owner-drawn menu items reach the object of their menu.
TEST(Menus, OwnerDrawnItemsAreMeasuredAndDrawnByTheirMenuObject) {
    struct Counting : CMenu {
        int measured = 0, drawn = 0;
        void MeasureItem(MEASUREITEMSTRUCT* mis) override {
            ++measured;
            mis->itemWidth = 80;
            mis->itemHeight = 20;
        }
        void DrawItem(DRAWITEMSTRUCT*) override { ++drawn; }
    } menu;
    struct Owner : CWnd {} owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(menu.CreatePopupMenu());
    ::AppendMenuW(menu, MF_OWNERDRAW, 3001, reinterpret_cast<const wchar_t*>(0x1234));
    ::AppendMenuW(menu, MF_OWNERDRAW, 3002, reinterpret_cast<const wchar_t*>(0x5678));
    ::SetForegroundWindow(owner);
    ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        ::EndMenu();
    });
    menu.TrackPopupMenu(TPM_LEFTALIGN, 10, 10, owner);
    EXPECT_EQ(menu.measured, 2);
    EXPECT_GE(menu.drawn, 2);
}

// The layer's modal loop.
class OwnerWindow : public CWnd {
public:
    int commands = 0;
    std::vector<std::string>* log = nullptr;
    BOOL OnCmdMsg(UINT id, int) override {
        if (id != 2002) return FALSE;
        ++commands;
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (log && msg->message == WalkProbe) log->push_back("owner");
        return FALSE;
    }
};

class TestApp : public CWinApp {
public:
    int commands = 0;
    BOOL OnCmdMsg(UINT id, int) override {
        if (id != 2003) return FALSE;
        ++commands;
        return TRUE;
    }
};

class EditSpy : public CEdit {
public:
    std::vector<std::string>* log = nullptr;
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WalkProbe) log->push_back("edit");
        return FALSE;
    }
};

struct Modal : ::testing::Test {
    TestApp app;
    OwnerWindow owner;
    TestDialog dlg;
    void SetUp() override {
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"main", WS_POPUP | WS_VISIBLE, 400, 0, 200, 200, nullptr, nullptr));
        app.m_pMainWnd = &owner;
        dlg.m_pParentWnd = &owner;
    }
};

TEST_F(Modal, TheWalkGoesFromTheMessagesWindowUpThroughItsOwnersAndCommandsAreRouted) {
    EditSpy multi;
    multi.log = &dlg.preTranslated;
    owner.log = &dlg.preTranslated;
    bool ownerDisabled = false;
    dlg.Add("bind", [&] { return multi.SubclassDlgItem(IdMulti, &dlg); });
    dlg.Add("key", [&] {
        ownerDisabled = !owner.IsWindowEnabled();
        ::PostMessageW(multi, WalkProbe, 0, 0);
        return true;
    });
    dlg.Add("walked", [&] { return !dlg.preTranslated.empty(); });
    dlg.Add("commands", [&] {
        for (UINT id : {2001u, 2002u, 2003u, 2004u}) dlg.PostMessage(WM_COMMAND, id, 0);
        return true;
    });
    dlg.Add("routed", [&] { return app.commands == 1; });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.preTranslated, (std::vector<std::string>{"edit", "dialog", "owner"}));
    EXPECT_TRUE(ownerDisabled) << "the owner is disabled while the dialog runs";
    EXPECT_TRUE(owner.IsWindowEnabled()) << "and enabled again after";
    EXPECT_EQ(dlg.dialogCommands, 1);
    EXPECT_EQ(owner.commands, 1);
    EXPECT_EQ(app.commands, 1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(Modal, OkRunsTheDataExchangeAndCancelDoesNot) {
    dlg.Add("type", [&] {
        ::SetDlgItemTextW(dlg, IdSingle, L"entered");
        ::PostMessageW(::GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
        return true;
    });
    dlg.Add("never", [] { return false; });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.text, L"entered");

    TestDialog second;
    second.m_pParentWnd = &owner;
    second.Add("type", [&] {
        ::SetDlgItemTextW(second, IdSingle, L"dropped");
        ::PostMessageW(::GetDlgItem(second, IdSingle), WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
    });
    second.Add("never", [] { return false; });
    EXPECT_EQ(second.DoModal(), IDCANCEL);
    EXPECT_EQ(second.text, L"abc");
}

TEST_F(Modal, QuitEndsTheLoopDestroysTheWindowAndReachesTheLoopsOutside) {
    HWND wnd = nullptr;
    dlg.Add("quit", [&] {
        wnd = dlg.m_hWnd;
        ::PostQuitMessage(7);
        return true;
    });
    dlg.Add("never", [] { return false; });
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_TRUE(owner.IsWindowEnabled());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(Modal, AModelessPaneGetsDialogKeysThroughTheLoop) {
    CDialog pane(101);
    dlg.Add("pane", [&] {
        if (!pane.Create(101, &dlg)) return false;
        pane.ShowWindow(SW_SHOW);
        ::SetActiveWindow(pane);
        ::SetFocus(::GetDlgItem(pane, 1101));
        return true;
    });
    dlg.Add("tab", [&] {
        ::PostMessageW(::GetDlgItem(pane, 1101), WM_KEYDOWN, VK_TAB, 0);
        return true;
    });
    dlg.Add("moved", [&] { return ::GetFocus() == ::GetDlgItem(pane, 1102); });
    dlg.Add("escape", [&] {
        ::PostMessageW(::GetDlgItem(pane, 1102), WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
    });
    // Escape hides a modeless pane without destroying it.
    dlg.Add("hidden", [&] { return ::IsWindow(pane) && !pane.IsWindowVisible(); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(::IsWindow(pane)) << "the pane went with its owner";
    EXPECT_EQ(pane.m_hWnd, nullptr);
}

}  // namespace
