#include "batch_import.h"

#include <algorithm>

#include "batch.h"
#include "shaping.h"
#include "text.h"
#include "text_file.h"

namespace desktop {

void AppendImportedLine(std::u16string& batchText, std::u16string_view line) {
    batchText += line;
    batchText += u"\n\r";
}

void EndImportedText(std::u16string& batchText) {
    if (!batchText.empty() && !std::u16string_view(batchText).ends_with(RecordSeparator))
        batchText += u"\n\r";
}

namespace {

// True when `path` ends with `suffix` (lower-case ASCII) in any case of its letters.
bool EndsWithAnyCase(std::u16string_view path, std::u16string_view suffix) {
    if (path.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), path.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char16_t lower, char16_t c) { return (c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c) == lower; });
}

}  // namespace

ImportKind ImportKindOf(std::u16string_view path) {
    if (EndsWithAnyCase(path, u".txt")) return ImportKind::Text;
    if (EndsWithAnyCase(path, u".xls")) return ImportKind::Spreadsheet;
    return ImportKind::None;
}

bool ImportText(Platform& platform, std::string_view bytes, std::u16string& batchText) {
    batchText.clear();
    // Read as the program reads a file: the mark decides the encoding, then line by line.
    const TextMark mark = MarkOf(bytes);
    std::string_view rest = bytes.substr(MarkSize(mark));
    LineReader lines([&rest](char* out, std::size_t capacity) {
        const std::size_t n = std::min(capacity, rest.size());
        std::copy_n(rest.data(), n, out);
        rest.remove_prefix(n);
        return static_cast<long>(n);
    });
    std::string raw;
    std::u16string line;
    while (lines.Next(mark == TextMark::Utf16 ? 2 : 1, raw) == LineReader::Result::Line) {
        if (mark == TextMark::Utf16) {
            line = Utf16LeUnits(raw);
        } else if (mark == TextMark::Utf8) {
            line = FromUtf8(raw);
        } else if (!FromAnsi(platform, CodePage::System, raw, line)) {
            batchText.clear();
            return false;
        }
        AppendImportedLine(batchText, WithoutLineEnd(line));
    }
    EndImportedText(batchText);
    return true;
}

bool FieldCannotShow(char16_t c) { return c == 0; }

std::optional<FieldFault> FirstFieldFault(std::u16string_view batchText, bool guardShaping) {
    // Lines are counted by their LF, as in the file; the field ends a line at LF or CR.
    std::size_t line = 1, length = 0;
    const auto shaping = guardShaping ? FirstShapingFault(batchText) : std::nullopt;
    for (std::size_t i = 0; i < batchText.size(); ++i) {
        const char16_t c = batchText[i];
        if (c == u'\n' || c == u'\r') {
            if (c == u'\n') ++line;
            length = 0;
            continue;
        }
        if (FieldCannotShow(c)) return FieldFault{line, c, false};
        if (shaping && shaping->index == i) return FieldFault{line, c, false};
        if (++length > kLongestFieldLine) return FieldFault{line, 0, true};
    }
    return std::nullopt;
}

namespace {

std::u16string CodePoint(char16_t c) {
    std::u16string text = u"U+";
    for (int shift = 12; shift >= 0; shift -= 4) text += u"0123456789ABCDEF"[(c >> shift) & 0xF];
    return text;
}

}  // namespace

std::u16string ImportOpenFailed(std::u16string_view path) {
    return u"Cannot open the file " + std::u16string(path) + u". The batch is unchanged.";
}

std::u16string ImportReadFailed(std::u16string_view path) {
    return u"Cannot read the file " + std::u16string(path) + u". The batch is unchanged.";
}

std::u16string ImportUnknownKind(const std::vector<std::u16string>& paths) {
    std::u16string text = paths.size() == 1 ? u"Cannot import the file " : u"Cannot import the files ";
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (i != 0) text += i + 1 == paths.size() ? u" and " : u", ";
        text += paths[i];
    }
    return text + u": the import reads text files (.txt) and spreadsheets (.xls). The batch is unchanged.";
}

std::u16string ImportNotShowable(std::u16string_view path, const FieldFault& fault) {
    std::u16string text = u"Cannot import the file " + std::u16string(path) + u": line " + Decimal(fault.line);
    if (fault.tooLong)
        text += u" is longer than " + Decimal(kLongestFieldLine) + u" characters,";
    else
        text += u" holds the character " + CodePoint(fault.character) + u",";
    return text + u" which the batch field cannot show. The batch is unchanged.";
}

std::u16string ExportWriteFailed(std::u16string_view path) {
    return u"Cannot write the file " + std::u16string(path) + u". Any earlier file of that name is unchanged.";
}

}  // namespace desktop
