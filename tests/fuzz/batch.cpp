// The batch files: any bytes imported as a text file give whole records, cut into pieces for
// the batch field that join up to the batch, and the TXT and XSL-FO documents made of them
// keep their form: UTF-16 with its mark, one table row per record, no character XML cannot
// carry, every "&" the start of a reference, the XML 1.1 head exactly when a control character
// is written as a reference. Sequence fields taken from the bytes never overflow.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "batch.h"
#include "batch_import.h"
#include "batch_work.h"
#include "text_file.h"
#include "desktop/fake_platform.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

std::u16string FromUtf16(std::string_view bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                      static_cast<std::uint8_t>(bytes[i + 1]) << 8);
    return text;
}

std::size_t Count(std::u16string_view text, std::u16string_view what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::u16string_view::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

void CheckImportAndExport(std::string_view bytes) {
    desktop_testing::FakePlatform platform;
    std::u16string batch;
    Require(desktop::ImportText(platform, bytes, batch));
    // A byte-order mark alone is an empty file; the field check takes any batch text.
    Require(batch.empty() == bytes.substr(desktop::MarkSize(desktop::MarkOf(bytes))).empty());
    (void)desktop::FirstFieldFault(batch, true);
    (void)desktop::FirstFieldFault(batch, false);
    if (!batch.empty()) Require(std::u16string_view(batch).ends_with(desktop::RecordSeparator));
    const auto records = desktop::BatchRecords(batch);
    std::u16string joined;
    for (std::u16string_view r : records) (joined += r) += desktop::RecordSeparator;
    // Text after the last separator (an extra empty line's LF CR) is no record.
    Require(std::u16string_view(batch).starts_with(joined));
    Require(batch.find(desktop::RecordSeparator, joined.size()) == std::u16string::npos);

    // Small bounds, so that short inputs are cut into many pieces too.
    desktop::BatchPieces pieces(batch, 3, 7);
    std::u16string fed;
    while (!pieces.Done()) {
        const std::u16string_view piece = pieces.Next();
        Require(!piece.empty() && (pieces.Done() || piece.back() == u'\n'));
        fed += piece;
    }
    Require(fed == batch && pieces.RecordsDone() == records.size() && pieces.Records() == records.size());

    const desktop::RecordEncoder same = [](std::u16string_view record) { return std::u16string(record); };
    const std::string txt = desktop::TxtExportLayout(batch, same);
    Require(txt.size() % 2 == 0 && txt.starts_with("\xFF\xFE"));

    std::vector<std::size_t> emptied;
    const std::string fo = desktop::XslFoExportLayout(batch, same, u"Face \"&<", u"12", &emptied);
    Require(fo.size() % 2 == 0 && fo.starts_with("\xFF\xFE"));
    const std::u16string xml = FromUtf16(std::string_view(fo).substr(2));
    Require(!desktop::HoldsCharacterXmlCannotCarry(xml));
    Require(Count(xml, u"<fo:table-row>") == records.size());
    bool control = false;
    for (char16_t c = 1; c < 0x20 && !control; ++c) {
        const char16_t hex[] = u"0123456789ABCDEF";
        const char16_t reference[] = {u'&', u'#', u'x', hex[c >> 4], hex[c & 0xF], u';', 0};
        control = c != u'\t' && c != u'\n' && c != u'\r' && xml.find(reference) != std::u16string::npos;
    }
    Require(xml.starts_with(control ? u"<?xml version=\"1.1\"" : u"<?xml version=\"1.0\""));
    if (control)
        for (char16_t c : xml) Require(!((c >= 0x7F && c <= 0x9F) || c == 0x2028));
    Require(emptied.size() <= records.size());
    for (std::size_t at = xml.find(u'&'); at != std::u16string::npos; at = xml.find(u'&', at + 1)) {
        const std::u16string_view rest = std::u16string_view(xml).substr(at);
        Require(rest.starts_with(u"&amp;") || rest.starts_with(u"&lt;") || rest.starts_with(u"&gt;") ||
                rest.starts_with(u"&quot;") || rest.starts_with(u"&#"));
    }
}

// Fields separated by NUL: prefix, start, end, increment, suffix (a field the bytes do not
// reach keeps its default). Only short sequences are generated (a long one is the refusal's business, not the fuzzer's).
void CheckSequence(std::string_view bytes) {
    desktop::SequenceFields fields;
    std::u16string* parts[] = {&fields.prefix, &fields.start, &fields.end, &fields.increment, &fields.suffix};
    std::size_t part = 0;
    for (char c : bytes) {
        if (c == '\0') {
            if (++part == 5) break;
            parts[part]->clear();
            continue;
        }
        *parts[part] += static_cast<char16_t>(static_cast<std::uint8_t>(c));
    }
    const std::int64_t start = desktop::ParseDecimal(fields.start);
    const std::int64_t end = desktop::ParseDecimal(fields.end);
    const std::int64_t step = desktop::ParseDecimal(fields.increment);
    std::u16string batch = u"kept";
    const desktop::SequenceResult result =
        step >= 1 && end > start && (end - start) / step > 2000 ? desktop::SequenceResult{}
                                                                : desktop::GenerateSequence(fields, batch);
    if (!result.generated) {
        Require(batch == u"kept");
        return;
    }
    // The length worked out before any record is written is the length written.
    Require(desktop::SequenceWork(fields).Length() == batch.size());
    // Prefix and suffix are copied as they stand, a separator in them included.
    if (fields.prefix.find(u'\n') != std::u16string::npos || fields.suffix.find(u'\n') != std::u16string::npos) return;
    const std::size_t expected = static_cast<std::size_t>((end - start) / step + 1);
    Require(desktop::BatchRecords(batch).size() == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckImportAndExport(bytes);
    CheckSequence(bytes);
    return 0;
}
