#include "text.h"

#include <vector>

namespace desktop {

namespace {
// Query, allocate, convert, check: shared by both directions.
template <typename Out, typename Convert>
bool Converted(std::size_t count, Out& out, Convert convert) {
    out.clear();
    if (count == 0) return true;
    const long need = convert(nullptr, 0);
    if (need <= 0) return false;
    std::vector<typename Out::value_type> buffer(static_cast<std::size_t>(need));
    const long got = convert(buffer.data(), buffer.size());
    if (got < 0 || got > need) return false;
    out.assign(buffer.data(), static_cast<std::size_t>(got));
    return true;
}
}  // namespace

bool ToAnsi(Platform& platform, CodePage page, std::u16string_view text, std::string& out) {
    return Converted(text.size(), out, [&](char* dst, std::size_t capacity) {
        return platform.ToNarrow(page, text.data(), text.size(), dst, capacity);
    });
}

bool FromAnsi(Platform& platform, CodePage page, std::string_view bytes, std::u16string& out) {
    return Converted(bytes.size(), out, [&](char16_t* dst, std::size_t capacity) {
        return platform.ToWide(page, bytes.data(), bytes.size(), dst, capacity);
    });
}

std::u16string WidenBytes(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
    return out;
}

std::u16string WidenMessage(const char* message) {
    return message ? WidenBytes(message) : std::u16string();
}

std::u16string Decimal(std::uint64_t n, bool grouped) {
    std::u16string digits;
    int i = 0;
    do {
        if (grouped && i > 0 && i % 3 == 0) digits.insert(digits.begin(), u',');
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
        n /= 10;
        ++i;
    } while (n != 0);
    return digits;
}

}  // namespace desktop
