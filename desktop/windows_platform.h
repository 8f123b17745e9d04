// The desktop core's platform seam filled with the Windows calls: code pages through
// WideCharToMultiByte and MultiByteToWideChar, font presence by enumerating the font
// families, and the registry value in the 64-bit view for reading and writing alike. The
// message line belongs to the main window, which derives from this class.
#pragma once

#include <string>
#include <string_view>

#include "platform.h"

namespace desktop {

// UTF-16 text between the portable core (char16_t) and the Windows calls (16-bit wchar_t):
// the one pair of the Windows layer, unit for unit.
inline std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string Utf16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

class WindowsPlatform : public Platform {
public:
    long ToNarrow(CodePage page, const char16_t* text, std::size_t count, char* out,
                  std::size_t capacity) override;
    long ToWide(CodePage page, const char* bytes, std::size_t count, char16_t* out,
                std::size_t capacity) override;
    bool IsFontInstalled(std::u16string_view face) override;
    RegistryValue ReadRegistryValue(std::u16string_view subKey, std::u16string_view name) override;
    bool WriteRegistryString(std::u16string_view subKey, std::u16string_view name,
                             std::u16string_view text) override;
};

}  // namespace desktop
