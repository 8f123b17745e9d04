#include "batch.h"

#include <algorithm>

#include "text.h"

namespace desktop {

std::int32_t ParseDecimal(std::u16string_view text) {
    std::uint32_t value = 0;
    for (char16_t c : text) value = value * 10u + (static_cast<std::uint32_t>(c) - u'0');
    return static_cast<std::int32_t>(value);
}

namespace {

// Units of `value` in decimal, its sign included.
std::size_t DecimalUnits(std::int64_t value) {
    std::uint64_t magnitude = value < 0 ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::size_t units = value < 0 ? 2 : 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++units;
    }
    return units;
}

// The last value from `value` on that is written in as many units as `value`.
std::int64_t LastOfSameUnits(std::int64_t value) {
    std::int64_t power = 1;  // 10^(digits - 1)
    const std::uint64_t magnitude = value < 0 ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    while (magnitude / static_cast<std::uint64_t>(power) >= 10) power *= 10;
    return value < 0 ? -power : power * 10 - 1;
}

// Writes `value` in decimal, zeros after the sign up to `width` units in all, at `out`;
// the units written.
std::size_t WritePadded(char16_t* out, std::int64_t value, std::size_t width) {
    char16_t digits[24];
    std::size_t n = 0;
    const bool negative = value < 0;
    std::uint64_t magnitude = negative ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::size_t at = 0;
    if (negative) out[at++] = u'-';
    for (std::size_t used = n + at; used < width; ++used) out[at++] = u'0';
    while (n != 0) out[at++] = digits[--n];
    return at;
}

}  // namespace

SequenceWork::SequenceWork(const SequenceFields& fields)
    : prefix_(fields.prefix), suffix_(fields.suffix), width_(fields.start.size()) {
    const std::int64_t start = ParseDecimal(fields.start);
    const std::int64_t end = ParseDecimal(fields.end);
    const std::int64_t increment = ParseDecimal(fields.increment);
    if (fields.end.size() != fields.start.size()) messages_.emplace_back(kLengthMismatch);
    if (end <= start || increment < 1) {
        messages_.emplace_back(kIncorrectValue);
        refused_ = true;
        return;
    }
    value_ = start;
    increment_ = increment;
    // The values are 32-bit, so the count and every value below stay far within 64 bits.
    const std::uint64_t count = static_cast<std::uint64_t>((end - start) / increment) + 1;
    // Every record is at least five units long; the length is summed over the runs of values
    // written in the same number of units.
    const std::uint64_t fixed = prefix_.size() + suffix_.size() + RecordSeparator.size();
    bool tooLong = count > kBatchTextLimit / 5 || fixed > kBatchTextLimit;
    std::uint64_t length = 0;
    for (std::uint64_t k = 0; !tooLong && k < count;) {
        const std::int64_t value = start + static_cast<std::int64_t>(k) * increment;
        const std::uint64_t last =
            std::min(count - 1, static_cast<std::uint64_t>((LastOfSameUnits(value) - start) / increment));
        length += (last - k + 1) * (fixed + std::max(width_, DecimalUnits(value)));
        tooLong = length > kBatchTextLimit;
        k = last + 1;
    }
    if (tooLong) {
        messages_.emplace_back(kSequenceTooLong);
        refused_ = true;
        return;
    }
    records_ = static_cast<std::size_t>(count);
    text_.resize(static_cast<std::size_t>(length));
}

void SequenceWork::Step(std::size_t records) {
    const std::size_t until = std::min(records_, done_ + std::max<std::size_t>(records, 1));
    char16_t* out = text_.data();
    for (; done_ < until; ++done_, value_ += increment_) {
        std::copy(prefix_.begin(), prefix_.end(), out + used_);
        used_ += prefix_.size();
        used_ += WritePadded(out + used_, value_, width_);
        std::copy(suffix_.begin(), suffix_.end(), out + used_);
        used_ += suffix_.size();
        std::copy(RecordSeparator.begin(), RecordSeparator.end(), out + used_);
        used_ += RecordSeparator.size();
    }
}

std::u16string SequenceWork::Finish() {
    text_.resize(used_);
    return std::move(text_);
}

SequenceResult GenerateSequence(const SequenceFields& fields, std::u16string& batchText) {
    SequenceWork work(fields);
    SequenceResult result;
    result.messages = work.Messages();
    if (work.Refused()) return result;
    while (!work.Finished()) work.Step();
    batchText = work.Finish();
    result.generated = true;
    return result;
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

std::string Utf16Bytes(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + 2 * text.size());
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

// Appends the font text with every LF written as CR LF.
void AppendFontLines(std::u16string& out, std::u16string_view font) {
    for (char16_t c : font) {
        if (c == u'\n') out += u'\r';
        out += c;
    }
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

// A unit no version of XML carries: NUL, U+FFFE, U+FFFF or an unpaired surrogate.
bool HoldsCharacterNoXmlCarries(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == 0 || c == 0xFFFE || c == 0xFFFF) return true;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return true;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

// "&#x19;": the hexadecimal character reference of `c`, two or four digits.
void AppendReference(std::u16string& out, char16_t c) {
    constexpr char16_t kHex[] = u"0123456789ABCDEF";
    out += u"&#x";
    if (c > 0xFF) {
        out += kHex[c >> 12];
        out += kHex[(c >> 8) & 0xF];
    }
    out += kHex[(c >> 4) & 0xF];
    out += kHex[c & 0xF];
    out += u';';
}

// Appends `text` with the characters XML reserves written as references; a control character
// other than TAB, LF and CR is written as a character reference, which only XML 1.1 reads,
// and sets `xml11`.
void AppendEscaped(std::u16string& out, std::u16string_view text, bool attribute, bool& xml11) {
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
            default:
                if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') {
                    AppendReference(out, c);
                    xml11 = true;
                } else {
                    out += c;
                }
        }
    }
}

// In an XML 1.1 document the controls 0x7F to 0x9F may stand only as character references,
// and NEL (0x85) and LINE SEPARATOR (0x2028) would be read as line ends: all are written as
// references. Markup holds none of them, so the whole text can be rewritten.
std::u16string AsXml11(std::u16string text) {
    constexpr std::u16string_view kVersion10 = u"<?xml version=\"1.0\"";
    text.replace(0, kVersion10.size(), u"<?xml version=\"1.1\"");
    const auto restricted = [](char16_t c) { return (c >= 0x7F && c <= 0x9F) || c == 0x2028; };
    std::size_t i = 0;
    while (i < text.size() && !restricted(text[i])) ++i;
    if (i == text.size()) return text;
    std::u16string out(text, 0, i);
    for (; i < text.size(); ++i) {
        if (restricted(text[i])) AppendReference(out, text[i]);
        else out += text[i];
    }
    return out;
}

constexpr std::u16string_view kTxtHeading =
    u"Please apply font typeface to the following codewords to get bar codes.\r\n\r\n\r\n\r\n";

constexpr std::u16string_view kXslFoHead =
    u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\n"
    u"<fo:root xmlns:fo=\"http://www.w3.org/1999/XSL/Format\">\r\n"
    u"  <fo:layout-master-set>\r\n"
    u"    <fo:simple-page-master master-name=\"my-page\">\r\n"
    u"      <fo:region-body margin=\"1in\" />\r\n"
    u"    </fo:simple-page-master>\r\n"
    u"  </fo:layout-master-set>\r\n"
    u"  <fo:page-sequence master-reference=\"my-page\">\r\n"
    u"    <fo:flow flow-name=\"xsl-region-body\">\r\n"
    u"      <fo:block>Kestrivo</fo:block>\r\n"
    u"      <fo:block>\r\n"
    u"        <fo:table>\r\n"
    u"          <fo:table-body>";

constexpr std::u16string_view kXslFoClosing =
    u"</fo:table-body></fo:table></fo:block></fo:flow></fo:page-sequence></fo:root>";

std::size_t CountRecords(std::u16string_view batchText) {
    std::size_t n = 0;
    for (std::size_t at = batchText.find(RecordSeparator); at != std::u16string_view::npos;
         at = batchText.find(RecordSeparator, at + RecordSeparator.size()))
        ++n;
    return n;
}

}  // namespace

BatchExport::BatchExport(std::u16string_view batchText)
    : xslFo_(false), rest_(batchText), records_(CountRecords(batchText)), text_(kTxtHeading) {}

BatchExport::BatchExport(std::u16string_view batchText, std::u16string_view face,
                         std::u16string_view sizeText)
    : xslFo_(true), rest_(batchText), records_(CountRecords(batchText)), text_(kXslFoHead) {
    AppendEscaped(size_, sizeText, true, xml11_);
    AppendEscaped(family_, face, true, xml11_);
}

void BatchExport::Step(const RecordEncoder& encode) {
    if (Finished()) return;
    const std::size_t at = rest_.find(RecordSeparator);
    const std::u16string_view record = rest_.substr(0, at);
    rest_.remove_prefix(at + RecordSeparator.size());
    const std::u16string font = encode(record);
    if (!xslFo_) {
        AppendFontLines(text_, font);
        text_ += u"\r\n\r\n";
    } else {
        std::u16string cell = CellLines(font);
        if (HoldsCharacterNoXmlCarries(cell)) {
            cell.clear();
            emptied_.push_back(done_);
        }
        // The lines of a matrix or stacked symbol's bands are kept, and stacked without gaps.
        const bool lines = cell.find(u'\n') != std::u16string::npos;
        text_ += u"<fo:table-row><fo:table-cell height=\"100pt\" text-align=\"center\" "
                 u"font-weight=\"normal\"><fo:block  font-size=\"";
        text_ += size_;
        text_ += u"pt\" font-family=\"";
        text_ += family_;
        text_ += lines ? u"\" linefeed-treatment=\"preserve\" line-height=\"1\">" : u"\">";
        AppendEscaped(text_, cell, false, xml11_);
        text_ += u"</fo:block></fo:table-cell></fo:table-row>\r\n\r\n";
    }
    ++done_;
}

std::u16string BatchExport::Finish() {
    if (!xslFo_) return std::move(text_);
    text_ += kXslFoClosing;
    return xml11_ ? AsXml11(std::move(text_)) : std::move(text_);
}

std::string TxtExportLayout(std::u16string_view batchText, const RecordEncoder& encode) {
    BatchExport work(batchText);
    while (!work.Finished()) work.Step(encode);
    return Utf16Bytes(work.Finish());
}

bool HoldsCharacterXmlCannotCarry(std::u16string_view text) {
    for (char16_t c : text)
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') return true;
    return HoldsCharacterNoXmlCarries(text);
}

std::u16string XslFoEmptiedNote(const std::vector<std::size_t>& emptied) {
    if (emptied.empty()) return {};
    return u"XSL-FO: " + Decimal(emptied.size()) + u" record(s) written empty, first record " +
           Decimal(emptied.front() + 1) + u": its font text holds characters XML cannot carry.";
}

std::string XslFoExportLayout(std::u16string_view batchText, const RecordEncoder& encode,
                        std::u16string_view face, std::u16string_view sizeText,
                        std::vector<std::size_t>* emptied) {
    BatchExport work(batchText, face, sizeText);
    while (!work.Finished()) work.Step(encode);
    if (emptied) emptied->insert(emptied->end(), work.Emptied().begin(), work.Emptied().end());
    return Utf16Bytes(work.Finish());
}

}  // namespace desktop
