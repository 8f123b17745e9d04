#include "batch.h"

#include <algorithm>

#include "batch_import.h"
#include "text.h"
#include "text_file.h"

namespace desktop {

std::int32_t ParseDecimal(std::u16string_view text) {
    std::uint32_t value = 0;
    for (char16_t c : text) value = value * 10u + (static_cast<std::uint32_t>(c) - u'0');
    return static_cast<std::int32_t>(value);
}

namespace {

// `value` in decimal, zeros after the sign up to `width` units in all.
std::u16string Padded(std::int64_t value, std::size_t width) {
    const bool negative = value < 0;
    std::uint64_t magnitude = negative ? 0u - static_cast<std::uint64_t>(value)
                                       : static_cast<std::uint64_t>(value);
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    const std::size_t used = digits.size() + (negative ? 1 : 0);
    if (used < width) digits.insert(0, width - used, u'0');
    if (negative) digits.insert(digits.begin(), u'-');
    return digits;
}

}  // namespace

SequenceResult GenerateSequence(const SequenceFields& fields, std::u16string& batchText) {
    SequenceResult result;
    const std::int64_t start = ParseDecimal(fields.start);
    const std::int64_t end = ParseDecimal(fields.end);
    const std::int64_t increment = ParseDecimal(fields.increment);
    if (fields.end.size() != fields.start.size()) result.messages.emplace_back(kLengthMismatch);
    if (end <= start || increment < 1) {
        result.messages.emplace_back(kIncorrectValue);
        return result;
    }
    // The values stay within 32 bits plus one increment, so the 64-bit loop always ends;
    // the limit on the text bounds the work, as each record is at least five units long.
    std::u16string text;
    for (std::int64_t value = start; value <= end; value += increment) {
        const std::u16string number = Padded(value, fields.start.size());
        const std::size_t length =
            fields.prefix.size() + number.size() + fields.suffix.size() + RecordSeparator.size();
        if (length > kBatchTextLimit - text.size()) {
            result.messages.emplace_back(kSequenceTooLong);
            return result;
        }
        text += fields.prefix;
        text += number;
        text += fields.suffix;
        text += RecordSeparator;
    }
    batchText = std::move(text);
    result.generated = true;
    return result;
}

ImportKind ImportKindOf(std::u16string_view path) {
    if (path.ends_with(u".txt")) return ImportKind::Text;
    if (path.ends_with(u".xls")) return ImportKind::Spreadsheet;
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

std::u16string ColumnLetters(std::uint32_t column) {
    std::u16string letters;
    for (std::uint64_t n = column; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char16_t>(u'A' + (n - 1) % 26));
    return letters;
}

std::u16string ChosenColumnLetters(std::u16string_view title) {
    for (std::size_t i = 0; i < title.size(); ++i)
        if (title[i] >= u'0' && title[i] <= u'9')
            return i >= 1 ? std::u16string(title.substr(0, i)) : std::u16string(u"A");
    return u"A";
}

std::vector<std::u16string_view> BatchRecords(std::u16string_view batchText) {
    std::vector<std::u16string_view> records;
    for (std::size_t at; (at = batchText.find(RecordSeparator)) != std::u16string_view::npos;) {
        records.push_back(batchText.substr(0, at));
        batchText.remove_prefix(at + RecordSeparator.size());
    }
    return records;
}

namespace {

class Utf16File {
public:
    Utf16File() : bytes_("\xFF\xFE") {}
    Utf16File& operator<<(std::u16string_view text) {
        for (char16_t c : text) {
            bytes_ += static_cast<char>(c & 0xFF);
            bytes_ += static_cast<char>(c >> 8);
        }
        return *this;
    }
    std::string Take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

// The font text of `record` with every LF written as CR LF.
std::u16string FontLines(const RecordEncoder& encode, std::u16string_view record) {
    std::u16string out;
    for (char16_t c : encode(record)) {
        if (c == u'\n') out += u'\r';
        out += c;
    }
    return out;
}

// The font text for an XSL-FO cell: every line end, LF or CR LF, written as one CR LF (which
// an XML reader takes as one line feed).
std::u16string CellLines(std::u16string_view font) {
    std::u16string out;
    for (std::size_t i = 0; i < font.size(); ++i) {
        if (font[i] == u'\r' && i + 1 < font.size() && font[i + 1] == u'\n') continue;
        if (font[i] == u'\n') out += u'\r';
        out += font[i];
    }
    return out;
}

std::u16string Escaped(std::u16string_view text, bool attribute) {
    std::u16string out;
    for (char16_t c : text) {
        switch (c) {
            case u'&': out += u"&amp;"; break;
            case u'<': out += u"&lt;"; break;
            case u'>': out += u"&gt;"; break;
            case u'"':
                if (attribute) {
                    out += u"&quot;";
                    break;
                }
                [[fallthrough]];
            default: out += c;
        }
    }
    return out;
}

}  // namespace

std::string TxtExportLayout(std::u16string_view batchText, const RecordEncoder& encode) {
    Utf16File file;
    file << u"Please apply font typeface to the following codewords to get bar codes."
         << u"\r\n\r\n\r\n\r\n";
    for (std::u16string_view record : BatchRecords(batchText))
        file << FontLines(encode, record) << u"\r\n\r\n";
    return file.Take();
}

bool HoldsCharacterXmlCannotCarry(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') return true;
        if (c == 0xFFFE || c == 0xFFFF) return true;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return true;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

std::u16string XslFoEmptiedNote(const std::vector<std::size_t>& emptied) {
    if (emptied.empty()) return {};
    const auto number = [](std::size_t n) {
        std::u16string digits;
        do {
            digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
            n /= 10;
        } while (n != 0);
        return digits;
    };
    return u"XSL-FO: " + number(emptied.size()) + u" record(s) written empty, first record " +
           number(emptied.front() + 1) + u": its font text holds characters XML cannot carry.";
}

std::string XslFoExportLayout(std::u16string_view batchText, const RecordEncoder& encode,
                        std::u16string_view face, std::u16string_view sizeText,
                        std::vector<std::size_t>* emptied) {
    Utf16File file;
    file << u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\n"
         << u"<fo:root xmlns:fo=\"http://www.w3.org/1999/XSL/Format\">\r\n"
         << u"  <fo:layout-master-set>\r\n"
         << u"    <fo:simple-page-master master-name=\"my-page\">\r\n"
         << u"      <fo:region-body margin=\"1in\" />\r\n"
         << u"    </fo:simple-page-master>\r\n"
         << u"  </fo:layout-master-set>\r\n"
         << u"  <fo:page-sequence master-reference=\"my-page\">\r\n"
         << u"    <fo:flow flow-name=\"xsl-region-body\">\r\n"
         << u"      <fo:block>Kestrivo</fo:block>\r\n"
         << u"      <fo:block>\r\n"
         << u"        <fo:table>\r\n"
         << u"          <fo:table-body>";
    const std::u16string size = Escaped(sizeText, true);
    const std::u16string family = Escaped(face, true);
    const std::vector<std::u16string_view> records = BatchRecords(batchText);
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::u16string cell = CellLines(encode(records[i]));
        if (HoldsCharacterXmlCannotCarry(cell)) {
            cell.clear();
            if (emptied) emptied->push_back(i);
        }
        // The lines of a matrix or stacked symbol's bands are kept, and stacked without gaps.
        const bool lines = cell.find(u'\n') != std::u16string::npos;
        file << u"<fo:table-row><fo:table-cell height=\"100pt\" text-align=\"center\" "
                u"font-weight=\"normal\"><fo:block  font-size=\""
             << size << u"pt\" font-family=\"" << family << u"\""
             << (lines ? u" linefeed-treatment=\"preserve\" line-height=\"1\"" : u"") << u">"
             << Escaped(cell, false) << u"</fo:block></fo:table-cell></fo:table-row>\r\n\r\n";
    }
    file << u"</fo:table-body></fo:table></fo:block></fo:flow></fo:page-sequence></fo:root>";
    return file.Take();
}

}  // namespace desktop
