// The desktop core's platform seam filled with the Windows calls: code pages through
// WideCharToMultiByte and MultiByteToWideChar, font presence by enumerating the font
// families, and the registry value in the 64-bit view for reading and writing alike. The
// message line is the main window's: it gives the platform the routine that shows a message.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform.h"

struct HWND__;

namespace desktop {

// UTF-16 text between the portable core (char16_t) and the Windows calls (16-bit wchar_t):
// the one pair of the Windows layer, unit for unit.
inline std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string Utf16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

// A core text handed to a Windows call as it stands (both are 16-bit units here).
inline const wchar_t* WideText(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// The whole text of a window, read straight into a core text.
std::u16string WindowText(HWND__* window);

class WindowsPlatform : public Platform {
public:
    using MessageLine = std::function<void(std::u16string_view message)>;
    // `line` shows a message in the main window's message line; without it messages are dropped.
    explicit WindowsPlatform(MessageLine line = {}) : m_line(std::move(line)) {}

    long ToNarrow(CodePage page, const char16_t* text, std::size_t count, char* out,
                  std::size_t capacity) override;
    long ToWide(CodePage page, const char* bytes, std::size_t count, char16_t* out,
                std::size_t capacity) override;
    bool IsFontInstalled(std::u16string_view face) override;
    RegistryValue ReadRegistryValue(std::u16string_view subKey, std::u16string_view name) override;
    bool WriteRegistryString(std::u16string_view subKey, std::u16string_view name,
                             std::u16string_view text) override;
    void SetMessageLine(std::u16string_view message) override {
        if (m_line) m_line(message);
    }
    bool ShapingFails() override;

private:
    MessageLine m_line;
};

}  // namespace desktop
