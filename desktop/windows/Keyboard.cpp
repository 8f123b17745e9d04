#include "Keyboard.h"

#include <string>

#include "output_texts.h"
#include "resource.h"

namespace {

// Data-exchange order of the keys.
constexpr int kKeyIds[kKeyboardKeys] = {
    IDC_KEY_NUL, IDC_KEY_SOH, IDC_KEY_STX, IDC_KEY_ETX, IDC_KEY_EOT, IDC_KEY_ENQ, IDC_KEY_ACK,
    IDC_KEY_BEL, IDC_KEY_BS,  IDC_KEY_TAB, IDC_KEY_LF,  IDC_KEY_VT,  IDC_KEY_FF,  IDC_KEY_CR,
    IDC_KEY_SO,  IDC_KEY_SI,  IDC_KEY_DLE, IDC_KEY_DC1, IDC_KEY_DC2, IDC_KEY_DC3, IDC_KEY_DC4,
    IDC_KEY_NAK, IDC_KEY_SYN, IDC_KEY_ETB, IDC_KEY_CAN, IDC_KEY_EM,  IDC_KEY_SUB, IDC_KEY_ESC,
    IDC_KEY_FS,  IDC_KEY_GS,  IDC_KEY_RS,  IDC_KEY_US,  IDC_KEY_DEL, IDC_KEY_FNC2, IDC_KEY_FNC3,
    IDC_KEY_FNC4, IDC_KEY_STOP, IDC_KEY_SHIFT, IDC_KEY_FNC1, IDOK};

constexpr int kKeyWidth = 38, kKeyHeight = 25;

// Top-left corner of a key in client pixels.
POINT KeyPlace(int id) {
    using namespace desktop;
    if (id >= IDC_KEY_NUL && id <= IDC_KEY_BEL) return {10 + 40 * (id - IDC_KEY_NUL), 10};
    if (id >= IDC_KEY_BS && id <= IDC_KEY_DLE) return {10 + 40 * (id - IDC_KEY_BS), 40};
    if (id >= IDC_KEY_DC1 && id <= IDC_KEY_EM) return {10 + 40 * (id - IDC_KEY_DC1), 70};
    if (id >= IDC_KEY_SUB && id <= IDC_KEY_US) return {10 + 40 * (id - IDC_KEY_SUB), 100};
    switch (id) {
    case kKeyDel: return {250, 100};
    case kKeyFnc1: return {10, 130};
    case kKeyFnc2: return {50, 130};
    case kKeyFnc3: return {90, 130};
    case kKeyFnc4: return {130, 130};
    case kKeyStop: return {170, 130};
    case kKeyShift: return {210, 130};
    default: return {10, 160};  // Close
    }
}

}  // namespace

CKeyboard::CKeyboard(CWnd* parent, const desktop::EncoderState& state, desktop::EncoderHost& main)
    : CDialogEx(IDD_KEYBOARD, parent), m_state(state), m_main(main) {}

void CKeyboard::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    for (int i = 0; i < kKeyboardKeys; ++i) DDX_Control(dx, kKeyIds[i], m_keys[i]);
}

BOOL CKeyboard::OnInitDialog() {
    CDialogEx::OnInitDialog();
    UpdateKeys();
    return TRUE;
}

BOOL CKeyboard::OnCmdMsg(UINT id, int code) {
    const int key = static_cast<int>(id);
    if (code == BN_CLICKED && key != IDOK && key >= desktop::kKeyFirstControl && key <= desktop::kKeyFnc4) {
        const std::u16string escape = desktop::KeyEscape(key, m_state.Kind());
        if (!escape.empty()) AppendEscape(escape);
        return TRUE;
    }
    return CDialogEx::OnCmdMsg(id, code);
}

void CKeyboard::UpdateKeys() {
    if (!m_hWnd) return;
    const int show = desktop::FunctionKeysShown(m_state.Kind()) ? SW_SHOW : SW_HIDE;
    for (int id : {desktop::kKeyFnc1, desktop::kKeyFnc2, desktop::kKeyFnc3, desktop::kKeyFnc4})
        if (HWND key = ::GetDlgItem(m_hWnd, id)) ::ShowWindow(key, show);
    for (int id : kKeyIds) {
        const POINT at = KeyPlace(id);
        if (HWND key = ::GetDlgItem(m_hWnd, id)) ::MoveWindow(key, at.x, at.y, kKeyWidth, kKeyHeight, TRUE);
    }
    ::UpdateWindow(m_hWnd);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CKeyboard::AppendEscape(std::u16string_view escape) {
    m_main.SetDataField(desktop::AppendEscape(m_state.data, escape));
    // A multi-line edit sends no change notification for a text set from code: encode here.
    m_main.OnChangeData();
    m_main.Repaint();
}
