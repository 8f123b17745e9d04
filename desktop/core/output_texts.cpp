#include "output_texts.h"

#include <cstdio>
#include <iterator>

namespace desktop {

namespace {

std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::u16string Escape(unsigned value) { return Ascii("&#" + std::to_string(value) + ";"); }

void ReplaceAll(std::u16string& s, std::u16string_view from, std::u16string_view to) {
    for (std::size_t at = s.find(from); at != std::u16string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

}  // namespace

bool FunctionKeysShown(std::uint32_t kind) {
    return kind == kKindCode128 || kind == kKindAsianCode128 || kind == kKindDataMatrix ||
           kind == kKindCode16k;
}

bool PaintedByLines(std::uint32_t kind) {
    switch (kind) {
    case kKindRoyalMailCmdm: case kKindDataMatrix: case kKindDataMatrixSemi: case kKindQRCodeSemi:
    case kKindPdf417: case kKindMicroPdf417: case kKindCode16k: case kKindQRCode: case kKindMicroQRCode:
    case kKindAztec: case kKindMaxicode: case kKindDatabarStackedOmni: case kKindDatabarExpandedStacked:
        return true;
    default:
        return false;
    }
}

std::vector<std::u16string_view> PaintedLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t lf = text.find(u'\n', start);
        if (lf == std::u16string_view::npos || lf == start) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, lf - start));
        start = lf + 1;
        if (start >= text.size()) break;
    }
    return lines;
}

std::u16string KeyEscape(int id, std::uint32_t kind) {
    if (id >= kKeyFirstControl && id <= kKeyLastControl) return Escape(static_cast<unsigned>(id - kKeyFirstControl));
    switch (id) {
    case kKeyDel: return Escape(127);
    case kKeyFnc1:
        if (kind == kKindCode128) return Escape(247);
        if (kind == kKindDataMatrix || kind == kKindCode16k) return Escape(232);
        return {};
    case kKeyFnc2: return Escape(242);
    case kKeyFnc3: return Escape(241);
    case kKeyFnc4: return Escape(246);
    default: return {};
    }
}

std::u16string AppendEscape(std::u16string_view field, std::u16string_view escape) {
    std::u16string text(field);
    text += escape;
    return text;
}

std::string BuildRtf(std::u16string_view face, int heightTenths, std::u16string_view text) {
    std::u16string s(text);
    ReplaceAll(s, u"\\", u"\\\\");
    ReplaceAll(s, u"{", u"\\{");
    ReplaceAll(s, u"}", u"\\}");
    // "\par " after each LF; an LF at the very start leaves the text without any.
    if (s.empty() || s[0] != u'\n') {
        for (std::size_t at = s.find(u'\n'); at != std::u16string::npos; at = s.find(u'\n', at + 6))
            s.insert(at + 1, u"\\par ");
    }
    std::string body;
    body.reserve(s.size());
    char buf[16];
    for (char16_t c : s) {
        if (c < 127) {
            body += static_cast<char>(c);
        } else if (c <= 255) {
            std::snprintf(buf, sizeof buf, "\\'%02x", static_cast<unsigned>(c));
            body += buf;
        } else {
            std::snprintf(buf, sizeof buf, "\\u%d?", static_cast<int>(static_cast<std::int16_t>(c)));
            body += buf;
        }
    }
    std::string name;
    for (char16_t c : face) name += static_cast<char>(c & 0xFF);
    std::string doc = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fcharset0 ";
    doc += name;
    doc += ";}}\n\r\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs";
    doc += std::to_string(heightTenths / 5);
    doc += ' ';
    doc += body;
    doc += "\n\r\\par }\n\r";
    return doc;
}

std::string ClipboardBytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() + 1);
    for (char16_t c : text) bytes += static_cast<char>(c & 0xFF);
    bytes += '\0';
    return bytes;
}

std::u16string ClipboardUnicode(std::u16string_view text) {
    std::u16string wide(text);
    wide += u'\0';
    return wide;
}

bool PrintedOnceAt12(std::u16string_view displayName) {
    return displayName.find(u"Postnet") != std::u16string_view::npos ||
           displayName.find(u"Planet") != std::u16string_view::npos;
}

std::vector<PrintPiece> PrintDataPieces(std::u16string_view displayName, std::u16string_view face,
                                        std::u16string_view data) {
    std::vector<PrintPiece> lines;
    lines.push_back({PrintFont::Label, u"Barcode Symbology: ", true});
    lines.push_back({PrintFont::Value, std::u16string(displayName)});
    lines.push_back({PrintFont::Label, u";     Font Facename: "});
    lines.push_back({PrintFont::Value, std::u16string(face)});
    lines.push_back({PrintFont::Label, u"Data To Encode: ", true});
    lines.push_back({PrintFont::Value, std::u16string(data) + u"     "});
    return lines;
}

std::vector<PrintPiece> PrintBarcodePieces(std::u16string_view encoded, int pointSize, bool onceAt12) {
    if (onceAt12)
        return {{PrintFont::Label, u"Point Size 12 : ", true, 1},
                {PrintFont::Barcode, std::u16string(encoded), false, 0, 12}};
    const bool block = !encoded.empty() && encoded.find(u'\n', 1) != std::u16string_view::npos;
    return {{PrintFont::Label, Ascii("Point Size " + std::to_string(pointSize) + " :    "), true, 1},
            {PrintFont::Barcode, std::u16string(encoded), false, 0, pointSize, block}};
}

std::vector<PrintPiece> PrintBodyPieces(std::u16string_view displayName, std::u16string_view face,
                                        std::u16string_view data, std::u16string_view encoded) {
    std::vector<PrintPiece> page = PrintDataPieces(displayName, face, data);
    auto append = [&page](std::vector<PrintPiece> line) {
        page.insert(page.end(), std::make_move_iterator(line.begin()), std::make_move_iterator(line.end()));
    };
    if (PrintedOnceAt12(displayName)) {
        append(PrintBarcodePieces(encoded, 12, true));
        return page;
    }
    for (int size : kPrintPointSizes) append(PrintBarcodePieces(encoded, size, false));
    return page;
}

std::optional<std::u16string> FallbackCommandLine(std::u16string_view command, std::u16string_view url) {
    if (url.empty()) return std::nullopt;
    for (char16_t c : url)
        if (c == u'"' || c < 0x20) return std::nullopt;
    std::size_t cut = command.find(u"\"%1\"");
    if (cut == std::u16string_view::npos) cut = command.find(u"%1");
    std::u16string line(command.substr(0, cut));
    line += u" \"";
    line += url;
    line += u'"';
    if (line.size() + 1 > kCommandLineUnits) return std::nullopt;
    return line;
}

}  // namespace desktop
