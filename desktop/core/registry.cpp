#include "registry.h"

namespace desktop {

std::optional<std::u16string> StringSetting(const RegistryValue& value) {
    if (!value.found || value.type != kRegistryString) return std::nullopt;
    const std::size_t units = value.data.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t c = static_cast<char16_t>(value.data[2 * i] | (value.data[2 * i + 1] << 8));
        if (c == 0) {
            std::u16string text(i, u'\0');
            for (std::size_t k = 0; k < i; ++k)
                text[k] = static_cast<char16_t>(value.data[2 * k] | (value.data[2 * k + 1] << 8));
            return text;
        }
    }
    return std::nullopt;  // no terminator: the data may be cut off
}

namespace {
std::u16string_view Trim(std::u16string_view s, bool front, bool back) {
    while (front && !s.empty() && s.front() == u'\\') s.remove_prefix(1);
    while (back && !s.empty() && s.back() == u'\\') s.remove_suffix(1);
    return s;
}
}  // namespace

RegistryString::RegistryString(Platform& platform, std::u16string_view path,
                               std::u16string defaultText, bool alwaysRead)
    : platform_(platform), default_(std::move(defaultText)), alwaysRead_(alwaysRead) {
    path = Trim(path, true, false);
    const std::size_t cut = path.rfind(u'\\');
    if (cut == std::u16string_view::npos) {
        valueName_ = path;
    } else {
        subKey_ = Trim(path.substr(0, cut), false, true);
        valueName_ = Trim(path.substr(cut + 1), true, true);
    }
    Read();
}

std::u16string RegistryString::Read() {
    const auto text = StringSetting(platform_.ReadRegistryValue(subKey_, valueName_));
    if (!text) return default_;
    value_ = *text;
    valueRead_ = true;
    return value_;
}

void RegistryString::Write() {
    if (platform_.WriteRegistryString(subKey_, valueName_, value_)) valueRead_ = true;
}

std::u16string RegistryString::Get() {
    if (valueRead_ && !alwaysRead_) return value_;
    return Read();
}

void RegistryString::Set(std::u16string_view text) {
    if (text == value_ && !alwaysRead_) return;
    value_ = text;
    Write();
}

}  // namespace desktop
