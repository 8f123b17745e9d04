#include "text.h"

#include "frame.h"

namespace tarnvik {

std::wstring DecodedInput(BSTR text) {
    const std::wstring in = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    const std::u16string out =
        linear::DecodeCharRefs(linear::kServer, reinterpret_cast<const char16_t*>(in.c_str()));
    return std::wstring(out.begin(), out.end());
}

namespace {
std::string Convert(const wchar_t* text, int units, UINT cp) {
    if (units <= 0) return std::string();
    const int bytes = WideCharToMultiByte(cp, 0, text, units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(cp, 0, text, units, out.data(), bytes, nullptr, nullptr);
    return out;
}

// A unit count that does not part a surrogate pair: one less when it would.
std::size_t WholeUnits(const std::wstring& text, std::size_t units) {
    if (units > 0 && units < text.size() && IS_LOW_SURROGATE(text[units]) &&
        IS_HIGH_SURROGATE(text[units - 1]))
        --units;
    return units;
}
}  // namespace

std::string ToCodePage(const std::wstring& text, UINT cp, std::size_t maxBytes) {
    // Every character takes one byte at least and two UTF-16 units at most, so no more than
    // 2 x maxBytes units can fit: longer text is cut to that before its one conversion.
    std::size_t units = text.size();
    if (maxBytes < units / 2) units = WholeUnits(text, 2 * maxBytes);
    std::string out = Convert(text.data(), static_cast<int>(units), cp);
    if (out.size() <= maxBytes) return out;
    // The byte count is the conversion's own (a multi-byte code page needs more bytes than the
    // text has units): the longest prefix that fits is found by halving, between a prefix
    // that fits (`fits` units) and one that does not (`over`), both on character boundaries.
    std::size_t fits = 0, over = units;
    while (over - fits > 1) {
        const std::size_t mid = WholeUnits(text, fits + (over - fits) / 2);
        if (mid == fits) break;  // one surrogate pair lies between them
        if (Convert(text.data(), static_cast<int>(mid), cp).size() <= maxBytes) fits = mid;
        else over = mid;
    }
    return Convert(text.data(), static_cast<int>(fits), cp);
}

std::wstring FromCodePage(const std::string& bytes, UINT cp) {
    const int n = static_cast<int>(bytes.find('\0') == std::string::npos ? bytes.size()
                                                                          : bytes.find('\0'));
    if (n == 0) return std::wstring();
    const int units = MultiByteToWideChar(cp, 0, bytes.data(), n, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring out(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(cp, 0, bytes.data(), n, out.data(), units);
    return out;
}

std::wstring MasterCartonData(std::wstring text) {
    if (text.size() > 13) text.resize(13);
    while (text.size() < 13) text.insert(text.empty() ? 0 : 1, 1, L'0');
    return text;
}

void IntelligentMailData(std::wstring text, std::wstring& tracking, std::wstring& routing) {
    while (text.size() < 25) text += L'0';
    if (text.size() > 31) text.resize(31);
    tracking = text.substr(0, 20);
    routing = text.substr(20);
}

}  // namespace tarnvik
