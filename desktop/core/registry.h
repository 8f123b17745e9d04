// The program's one persistent setting: a string value in the registry, read and written
// through the platform seam.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform.h"

namespace desktop {

// Where the program keeps the symbology selected at start.
inline constexpr std::u16string_view kDefaultSymbologyPath = u"Software\\Kestrivo\\DefaultSymbology";

// The text of a value as read, when it counts as a string setting: the value was found,
// is of the string type and its data holds a terminating NUL within whole UTF-16 units;
// the text runs up to that NUL. Anything else is no text at all.
std::optional<std::u16string> StringSetting(const RegistryValue& value);

// A string value named by a path "subkey\name" under the local-machine hive.
class RegistryString {
public:
    // Leading backslashes are stripped; the path is split at its last backslash into the
    // subkey (trailing backslashes stripped) and the name (backslashes stripped at both ends).
    // Reads the value once.
    RegistryString(Platform& platform, std::u16string_view path, std::u16string defaultText,
                   bool alwaysRead);

    const std::u16string& subKey() const { return subKey_; }
    const std::u16string& valueName() const { return valueName_; }
    bool valueRead() const { return valueRead_; }

    // The stored text, or the default text when the value cannot be read or is no string.
    std::u16string Read();
    // Stores the current text; silent on failure.
    void Write();
    std::u16string Get();
    void Set(std::u16string_view text);

private:
    Platform& platform_;
    std::u16string subKey_, valueName_, value_, default_;
    bool valueRead_ = false;
    bool alwaysRead_;
};

}  // namespace desktop
