// The seam between the portable core of the desktop program and Windows: code-page
// conversion, font presence, the one registry setting and the main window's message line.
// The Windows program fills it with the system calls; the tests fill it with fakes. No
// Windows header is needed to use it: UTF-16 text is char16_t, 8-bit text is char.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace desktop {

// The 8-bit code pages the front-ends convert through. UTF-8 is not among them: the core
// converts UTF-16 to UTF-8 itself (a lone surrogate becomes U+FFFD), with no platform call.
enum class CodePage {
    Thread,  // the calling thread's ANSI code page (CP_THREAD_ACP)
    System,  // the system's ANSI code page (GetACP)
};

// The registry value as stored, for the core to judge (see desktop/core/registry.h).
struct RegistryValue {
    bool found = false;              // the key opened and the value was read
    std::uint32_t type = 0;          // the value's registry type (kRegistryString for REG_SZ)
    std::vector<std::uint8_t> data;  // the value's bytes exactly as read, no terminator added
};

// The registry type number of a plain string value (REG_SZ).
inline constexpr std::uint32_t kRegistryString = 1;

class Platform {
public:
    virtual ~Platform() = default;

    // Converts `count` UTF-16 units at `text` to `page`. Characters the code page lacks
    // become its default character; a lone surrogate must not fail the conversion.
    // With `capacity` 0 (`out` may be null) it returns the number of bytes needed.
    // Otherwise it writes at most `capacity` bytes to `out` and returns the number written.
    // No terminator is written or counted either way. Returns -1 on failure, a too small
    // `capacity` included; `out` may then hold anything, and the caller discards it.
    // `count` 0 returns 0.
    virtual long ToNarrow(CodePage page, const char16_t* text, std::size_t count, char* out,
                          std::size_t capacity) = 0;

    // Converts `count` bytes at `bytes` from `page` to UTF-16; reads exactly those bytes
    // (a lead byte at the end must not pull in the byte after them). Sizes, results and
    // failure as ToNarrow, in UTF-16 units.
    virtual long ToWide(CodePage page, const char* bytes, std::size_t count, char16_t* out,
                        std::size_t capacity) = 0;

    // Whether the font system creates a font of this face (height 16, width 0, weight 400,
    // default character set, precision, quality and pitch). A face of 32 characters or more
    // does not fit a font description and is never installed.
    virtual bool IsFontInstalled(std::u16string_view face) = 0;

    // Reads the value `name` of the key `subKey` under HKEY_LOCAL_MACHINE, in the 64-bit
    // registry view. Reading and writing must use the same view.
    virtual RegistryValue ReadRegistryValue(std::u16string_view subKey,
                                            std::u16string_view name) = 0;

    // Creates or opens `subKey` under HKEY_LOCAL_MACHINE in the same view as
    // ReadRegistryValue and stores `text` with its terminator as a REG_SZ value `name`
    // ((length + 1) * 2 bytes). Returns whether the value was stored.
    virtual bool WriteRegistryString(std::u16string_view subKey, std::u16string_view name,
                                     std::u16string_view text) = 0;

    // Shows `message` in the main window's message line; an empty text clears it.
    virtual void SetMessageLine(std::u16string_view message) = 0;

    // Whether the system's text shaping fails on the texts shaping.h names (Wine 8), so that
    // the fields are never given them. Windows shapes every text.
    virtual bool ShapingFails() { return false; }
};

}  // namespace desktop
