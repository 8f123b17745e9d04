// The character keyboard: a floating pane with one key per control or function character;
// a key appends the character's numeric escape to the main window's data field.
#pragma once
#include <string_view>

#include "ButtonST.h"
#include "encoder_state.h"
#include "framework.h"

inline constexpr int kKeyboardKeys = 40;

class CKeyboard : public CDialogEx {
public:
    // `parent` is the main window; it answers as `main` and outlives the pane with `state`.
    CKeyboard(CWnd* parent, const desktop::EncoderState& state, desktop::EncoderHost& main);

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT id, int code) override;

    // Shows FNC1 to FNC4 for the kinds that have them and lays the keys out.
    void UpdateKeys();
    // Appends `escape` to the data field, keeping its whole text, and re-encodes.
    void AppendEscape(std::u16string_view escape);

private:
    const desktop::EncoderState& m_state;
    desktop::EncoderHost& m_main;
    CButtonST m_keys[kKeyboardKeys];
};
