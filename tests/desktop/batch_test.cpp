// The batch: generated sequences to the unit, imported record layouts, column letters, and
// the export files byte for byte and through an XML parser.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>

#include "batch.h"
#include "batch_import.h"
#include "desktop/front_end_fixture.h"
#include "symbology_table.h"

using namespace desktop;
using namespace desktop_testing;

namespace {

std::u16string Batch(std::initializer_list<std::u16string_view> records) {
    std::u16string text;
    for (auto r : records) (text += r) += u"\n\r\n\r";
    return text;
}

SequenceFields Fields(std::u16string start, std::u16string end, std::u16string increment,
                      std::u16string prefix = u"", std::u16string suffix = u"") {
    return SequenceFields{std::move(prefix), std::move(start), std::move(end),
                          std::move(increment), std::move(suffix)};
}

// UTF-16LE bytes with the byte-order mark first.
std::string Utf16File(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST(Sequence, ParseDecimalFoldsEveryCharacterWithoutOverflow) {
    EXPECT_EQ(ParseDecimal(u""), 0);
    EXPECT_EQ(ParseDecimal(u"000001"), 1);
    EXPECT_EQ(ParseDecimal(u"2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ParseDecimal(u"2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ParseDecimal(u"4294967297"), 1);  // wraps modulo 2^32
    EXPECT_EQ(ParseDecimal(u"1A"), 10 + 17);     // 'A' - '0' is 17
    EXPECT_EQ(ParseDecimal(u" 5"), -16 * 10 + 5);
    // A long text of digits runs through every wrap without undefined behaviour (the
    // sanitizer build checks).
    EXPECT_EQ(ParseDecimal(std::u16string(40, u'9')), -1);
}

TEST(Sequence, GeneratesTheRecordsOfTheFields) {
    std::u16string text = u"old";
    auto r = GenerateSequence(SequenceFields{}, text);
    EXPECT_TRUE(r.generated);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(text, Batch({u"000001", u"000002", u"000003", u"000004", u"000005", u"000006",
                           u"000007", u"000008", u"000009"}));

    r = GenerateSequence(Fields(u"08", u"12", u"2", u"AB", u"-X"), text);
    EXPECT_EQ(text, Batch({u"AB08-X", u"AB10-X", u"AB12-X"}));

    // Width of the start text; a longer value is written whole; the mismatch is a warning.
    r = GenerateSequence(Fields(u"1", u"100", u"50"), text);
    EXPECT_TRUE(r.generated);
    EXPECT_EQ(r.messages, std::vector<std::u16string>{std::u16string(kLengthMismatch)});
    EXPECT_EQ(text, Batch({u"1", u"51"}));
    r = GenerateSequence(Fields(u"0098", u"0101", u"1"), text);
    EXPECT_EQ(text, Batch({u"0098", u"0099", u"0100", u"0101"}));
    r = GenerateSequence(Fields(u"9", u"10", u"1"), text);
    EXPECT_EQ(text, Batch({u"9", u"10"}));

    // Prefix and suffix as they stand; end not reached exactly.
    r = GenerateSequence(Fields(u"1", u"8", u"3", u"%d\n", u"&<"), text);
    EXPECT_EQ(text, Batch({u"%d\n1&<", u"%d\n4&<", u"%d\n7&<"}));

    // A start folded below zero pads after the sign.
    r = GenerateSequence(Fields(u" 5", u"03", u"70"), text);  // start -155, end 3
    EXPECT_EQ(text, Batch({u"-155", u"-85", u"-15"}));
}

TEST(Sequence, RefusesWrongValuesAndLeavesTheText) {
    for (const auto& f : {Fields(u"5", u"5", u"1"), Fields(u"000001", u"000009", u"0"),
                          Fields(u"9", u"1", u"1"), Fields(u"1", u"9", u"-1"),
                          Fields(u"1", u"9", u"")}) {
        std::u16string text = u"kept";
        const auto r = GenerateSequence(f, text);
        EXPECT_FALSE(r.generated);
        EXPECT_EQ(r.messages, std::vector<std::u16string>{std::u16string(kIncorrectValue)});
        EXPECT_EQ(text, u"kept");
    }
    std::u16string text = u"kept";
    const auto r = GenerateSequence(Fields(u"1", u"10", u"0"), text);
    EXPECT_EQ(r.messages, (std::vector<std::u16string>{std::u16string(kLengthMismatch),
                                                       std::u16string(kIncorrectValue)}));
}

TEST(Sequence, EndsAtTheTopOfTheRange) {
    // The last values before 2^31: a 32-bit loop would wrap and never end.
    std::u16string text;
    auto r = GenerateSequence(Fields(u"2147483640", u"2147483647", u"5"), text);
    EXPECT_TRUE(r.generated);
    EXPECT_EQ(text, Batch({u"2147483640", u"2147483645"}));
    r = GenerateSequence(Fields(u"2147483646", u"2147483647", u"2147483647"), text);
    EXPECT_EQ(text, Batch({u"2147483646"}));
    r = GenerateSequence(Fields(u"2147483645", u"2147483647", u"1"), text);
    EXPECT_EQ(text, Batch({u"2147483645", u"2147483646", u"2147483647"}));
}

TEST(Sequence, RefusesATextTooLongForTheBatch) {
    std::u16string text = u"kept";
    // Every value from the lowest to the highest: billions of records.
    auto r = GenerateSequence(Fields(u"2147483648", u"2147483647", u"1"), text);
    EXPECT_FALSE(r.generated);
    EXPECT_EQ(r.messages, std::vector<std::u16string>{std::u16string(kSequenceTooLong)});
    EXPECT_EQ(text, u"kept");
    // One record wider than the limit.
    r = GenerateSequence(Fields(u"1", u"2", u"1", std::u16string(kBatchTextLimit, u'P')), text);
    EXPECT_FALSE(r.generated);
    EXPECT_EQ(text, u"kept");
    // Exactly at the limit is allowed, one unit more is not.
    const std::u16string prefix(kBatchTextLimit / 2 - 5, u'P');  // record of limit / 2 units
    r = GenerateSequence(Fields(u"1", u"2", u"1", prefix), text);
    EXPECT_TRUE(r.generated);
    EXPECT_EQ(text.size(), kBatchTextLimit);
    r = GenerateSequence(Fields(u"1", u"2", u"1", prefix + u"P"), text);
    EXPECT_FALSE(r.generated);
    EXPECT_EQ(text.size(), kBatchTextLimit);
}

TEST(Sequence, MadeInStepsAsAtOnceWithItsLengthKnownFirst) {
    // Runs of values across every change in the number of units, below and above zero, with
    // prefix and suffix: any cut into steps gives the text GenerateSequence gives.
    for (const auto& f : {Fields(u"000001", u"1000000", u"1"), Fields(u" 5", u"1200", u"7", u"P", u"S"),
                          Fields(u"0", u"99999", u"9999"), Fields(u"1", u"9", u"1"),
                          Fields(u"2147483000", u"2147483647", u"13", u"", u"x")}) {
        std::u16string whole;
        ASSERT_TRUE(GenerateSequence(f, whole).generated);
        SequenceWork work(f);
        ASSERT_FALSE(work.Refused());
        EXPECT_EQ(work.Length(), whole.size()) << "the length worked out first";
        EXPECT_EQ(work.Records(), BatchRecords(whole).size());
        for (std::size_t step = 1; !work.Finished(); step = step * 3 + 1) {
            const std::size_t before = work.Done();
            work.Step(step);
            EXPECT_EQ(work.Done(), std::min(work.Records(), before + step));
        }
        work.Step(5);  // nothing once finished
        EXPECT_TRUE(work.Finish() == whole);
    }
    std::u16string whole;
    GenerateSequence(Fields(u"000001", u"1000000", u"1"), whole);
    EXPECT_EQ(whole.substr(0, 16), u"000001\n\r\n\r000002");
    EXPECT_TRUE(whole.ends_with(u"999999\n\r\n\r1000000\n\r\n\r"));

    // Every check comes before any record: a refused sequence has no records to make.
    SequenceWork refused(Fields(u"0000000000", u"2147483647", u"1"));
    EXPECT_TRUE(refused.Refused());
    EXPECT_EQ(refused.Records(), 0u);
    EXPECT_EQ(refused.Messages(), std::vector<std::u16string>{std::u16string(kSequenceTooLong)});
    SequenceWork mismatch(Fields(u"000001", u"1000000", u"1"));
    EXPECT_FALSE(mismatch.Refused());
    EXPECT_EQ(mismatch.Messages(), std::vector<std::u16string>{std::u16string(kLengthMismatch)});
    EXPECT_EQ(mismatch.Done(), 0u);
    // Stopped part way, the text holds the records made.
    mismatch.Step(2);
    EXPECT_EQ(mismatch.Finish(), Batch({u"000001", u"000002"}));
}

TEST(Import, KindIsDecidedByTheSuffix) {
    EXPECT_EQ(ImportKindOf(u"C:\\data\\a.txt"), ImportKind::Text);
    EXPECT_EQ(ImportKindOf(u"C:\\data.txt\\a.txt"), ImportKind::Text);
    EXPECT_EQ(ImportKindOf(u"C:\\x.xls.d\\b.txt"), ImportKind::Text);
    EXPECT_EQ(ImportKindOf(u"C:\\data\\b.xls"), ImportKind::Spreadsheet);
    EXPECT_EQ(ImportKindOf(u"C:\\a.txt\\b.xls"), ImportKind::Spreadsheet);
    EXPECT_EQ(ImportKindOf(u"C:\\a.xls\\b.xls"), ImportKind::Spreadsheet);
    EXPECT_EQ(ImportKindOf(u"C:\\b.xlsx"), ImportKind::None);
    EXPECT_EQ(ImportKindOf(u"C:\\a.txt.bak"), ImportKind::None);
    EXPECT_EQ(ImportKindOf(u"C:\\a.csv"), ImportKind::None);
    EXPECT_EQ(ImportKindOf(u"C:\\atxt"), ImportKind::None);
    EXPECT_EQ(ImportKindOf(u"txt"), ImportKind::None);
    EXPECT_EQ(ImportKindOf(u""), ImportKind::None);
    // Windows names do not differ by case: every case of the suffix is read alike.
    EXPECT_EQ(ImportKindOf(u"C:\\DATA\\RECORDS.TXT"), ImportKind::Text);
    EXPECT_EQ(ImportKindOf(u"C:\\a.Txt"), ImportKind::Text);
    EXPECT_EQ(ImportKindOf(u"C:\\a.tXT"), ImportKind::Text);
    EXPECT_EQ(ImportKindOf(u"C:\\B.XLS"), ImportKind::Spreadsheet);
    EXPECT_EQ(ImportKindOf(u"C:\\b.Xls"), ImportKind::Spreadsheet);
    EXPECT_EQ(ImportKindOf(u"C:\\B.XLSX"), ImportKind::None);
    // Only the ASCII letters fold: a fullwidth or accented look-alike is another name.
    EXPECT_EQ(ImportKindOf(u"C:\\a.\uFF34XT"), ImportKind::None);
    EXPECT_EQ(ImportKindOf(u"C:\\a.t\u00D7t"), ImportKind::None);
}

TEST(Import, AnUnknownKindIsNamedWithTheKindsTheImportReads) {
    EXPECT_EQ(ImportUnknownKind({u"C:\\a.csv"}),
              u"Cannot import the file C:\\a.csv: the import reads text files (.txt) and spreadsheets (.xls). "
              u"The batch is unchanged.");
    EXPECT_EQ(ImportUnknownKind({u"a.csv", u"b.doc", u"c"}),
              u"Cannot import the files a.csv, b.doc and c: the import reads text files (.txt) and "
              u"spreadsheets (.xls). The batch is unchanged.");
}

TEST(Import, TextRecordsAreSeparatedByEmptyLines) {
    FakePlatform platform;
    std::u16string text = u"old";
    ASSERT_TRUE(ImportText(platform, "A\n\nB\n\n", text));
    EXPECT_EQ(text, u"A\n\r\n\rB\n\r\n\r");
    EXPECT_EQ(BatchRecords(text), (std::vector<std::u16string_view>{u"A", u"B"}));
    ASSERT_TRUE(ImportText(platform, "A\r\n\r\nB\r\n\r\n", text));  // CR LF line ends
    EXPECT_EQ(text, u"A\n\r\n\rB\n\r\n\r");
    // The last record is kept without an empty line after it, with or without a line end.
    ASSERT_TRUE(ImportText(platform, "A\nB\n", text));
    EXPECT_EQ(BatchRecords(text), (std::vector<std::u16string_view>{u"A\n\rB"}));
    ASSERT_TRUE(ImportText(platform, "A\n\nB", text));
    EXPECT_EQ(text, u"A\n\r\n\rB\n\r\n\r");
    ASSERT_TRUE(ImportText(platform, "1\n2\n\n3", text));
    EXPECT_EQ(BatchRecords(text), (std::vector<std::u16string_view>{u"1\n\r2", u"3"}));
    // More empty lines make empty records, as the separator finds them.
    ASSERT_TRUE(ImportText(platform, "A\n\n\n\nB\n\n", text));
    EXPECT_EQ(BatchRecords(text), (std::vector<std::u16string_view>{u"A", u"", u"B"}));
    ASSERT_TRUE(ImportText(platform, "", text));
    EXPECT_EQ(text, u"");
    // Bytes are read in the system's ANSI code page.
    ASSERT_TRUE(ImportText(platform, "\xE9t\xE9\n\n", text));
    EXPECT_EQ(text, u"\u00E9t\u00E9\n\r\n\r");
    platform.failConversions = true;
    text = u"old";
    EXPECT_FALSE(ImportText(platform, "A\n\n", text));
    EXPECT_EQ(text, u"");
}

TEST(Import, ColumnLetters) {
    EXPECT_EQ(ColumnLetters(0), u"");
    EXPECT_EQ(ColumnLetters(1), u"A");
    EXPECT_EQ(ColumnLetters(26), u"Z");
    EXPECT_EQ(ColumnLetters(27), u"AA");
    EXPECT_EQ(ColumnLetters(52), u"AZ");
    EXPECT_EQ(ColumnLetters(53), u"BA");
    EXPECT_EQ(ColumnLetters(702), u"ZZ");
    EXPECT_EQ(ColumnLetters(703), u"AAA");
    EXPECT_EQ(ColumnLetters(16384), u"XFD");
    EXPECT_EQ(ColumnLetters(18278), u"ZZZ");
    EXPECT_EQ(ColumnLetters(0xFFFFFFFF), u"MWLQKWU");
    EXPECT_EQ(ChosenColumnLetters(u"B1"), u"B");
    EXPECT_EQ(ChosenColumnLetters(u"AAA1"), u"AAA");
    EXPECT_EQ(ChosenColumnLetters(u"1"), u"A");
    EXPECT_EQ(ChosenColumnLetters(u"XY"), u"A");
}

// The real encode road of the desktop: EncodeSelected with a row of the symbology table.
struct Export : ::testing::Test {
    SessionFixture fixture;
    std::vector<SymbologyAction> table = BuildSymbologyTable();
    RecordEncoder Road(std::u16string_view name) {
        const SymbologyAction* row = FindSymbology(table, name);
        EXPECT_NE(row, nullptr);
        return [this, row](std::u16string_view record) {
            return EncodeSelected(fixture.session, *row, record);
        };
    }
    static std::u16string Crlf(std::u16string_view font) {
        std::u16string out;
        for (char16_t c : font) {
            if (c == u'\n') out += u'\r';
            out += c;
        }
        return out;
    }
};

const std::u16string_view kHeading =
    u"Please apply font typeface to the following codewords to get bar codes.\r\n\r\n\r\n\r\n";

TEST_F(Export, TxtFileBytes) {
    const RecordEncoder code128 = Road(u"Code128B");
    const std::u16string a = code128(u"A"), b = code128(u"B");
    ASSERT_FALSE(a.empty());
    ASSERT_NE(a, b);
    const std::string bytes = TxtExportLayout(Batch({u"A", u"B"}) + u"C", code128);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes, Utf16File(std::u16string(kHeading) + a + u"\r\n\r\n" + b + u"\r\n\r\n"));

    EXPECT_EQ(TxtExportLayout(u"", code128), Utf16File(kHeading));
    EXPECT_EQ(TxtExportLayout(u"no separator", code128), Utf16File(kHeading));

    // Every LF of a matrix symbology's font text is written as CR LF, also after a CR.
    const RecordEncoder qr = Road(u"QR Code");
    const std::u16string font = qr(u"HELLO");
    ASSERT_NE(font.find(u'\n'), std::u16string::npos);
    EXPECT_EQ(TxtExportLayout(Batch({u"HELLO"}), qr),
              Utf16File(std::u16string(kHeading) + Crlf(font) + u"\r\n\r\n"));
    // A record that cannot be encoded leaves its pair of line ends.
    const RecordEncoder fixed = [](std::u16string_view r) {
        return r == u"x" ? std::u16string() : std::u16string(u"1\r\n2\n");
    };
    EXPECT_EQ(TxtExportLayout(Batch({u"y", u"x"}), fixed),
              Utf16File(std::u16string(kHeading) + u"1\r\r\n2\r\n\r\n\r\n\r\n\r\n"));
}

const std::u16string_view kHead =
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
const std::u16string_view kClosing =
    u"</fo:table-body></fo:table></fo:block></fo:flow></fo:page-sequence></fo:root>";

std::u16string Row(std::u16string_view size, std::u16string_view face, std::u16string_view cell,
                   bool lines = false) {
    return u"<fo:table-row><fo:table-cell height=\"100pt\" text-align=\"center\" "
           u"font-weight=\"normal\"><fo:block  font-size=\"" +
           std::u16string(size) + u"pt\" font-family=\"" + std::u16string(face) + u"\"" +
           (lines ? u" linefeed-treatment=\"preserve\" line-height=\"1\">" : u">") +
           std::u16string(cell) + u"</fo:block></fo:table-cell></fo:table-row>\r\n\r\n";
}

TEST_F(Export, XslFoBytes) {
    const RecordEncoder code39 = Road(u"Code 39");
    const std::u16string a = code39(u"A");
    EXPECT_EQ(XslFoExportLayout(Batch({u"A"}) + u"rest", code39, u"Face M", u"12"),
              Utf16File(std::u16string(kHead) + Row(u"12", u"Face M", a) +
                        std::u16string(kClosing)));
    EXPECT_EQ(XslFoExportLayout(u"", code39, u"F", u"9"),
              Utf16File(std::u16string(kHead) + std::u16string(kClosing)));
    const RecordEncoder verbatim = [](std::u16string_view r) { return std::u16string(r); };
    // Lines keep their line feeds, each line end (LF or CR LF) written as one CR LF.
    EXPECT_EQ(XslFoExportLayout(Batch({u"a&b<c>d\"e'", u"x\ny\r\nz\r\n"}), verbatim, u"F", u"9"),
              Utf16File(std::u16string(kHead) + Row(u"9", u"F", u"a&amp;b&lt;c&gt;d\"e'") +
                        Row(u"9", u"F", u"x\r\ny\r\nz\r\n", true) + std::u16string(kClosing)));
}


// Runs the system's Python XML parser on the document; returns the text of every cell's
// block and its font attributes, as UTF-16 units, or nothing when parsing failed.
std::optional<std::vector<std::u16string>> ParsedCells(const std::string& document) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto stem = "batch_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                      "_" + std::to_string(reinterpret_cast<std::uintptr_t>(&document));
    const auto in = dir / (stem + ".xml"), out = dir / (stem + ".out");
    std::ofstream(in, std::ios::binary) << document;
    // Python's parser reads XML 1.0 only: an XML 1.1 document is read through a shadow in
    // which each character reference that only XML 1.1 allows stands for a private-use
    // character, mapped back afterwards. Such a character written raw is refused.
    const std::string script =
        "import re, sys, xml.etree.ElementTree as E\n"
        "ns = '{http://www.w3.org/1999/XSL/Format}'\n"
        "text = open(sys.argv[1], 'rb').read().decode('utf-16')\n"
        "only11 = lambda v: v in (0x85, 0x2028) or (v < 0x20 and v not in (9, 10, 13)) or 0x7F <= v <= 0x9F\n"
        "if text.startswith('<?xml version=\"1.1\"'):\n"
        "    assert not any(only11(ord(c)) for c in text), 'raw character'\n"
        "    text = '<?xml version=\"1.0\"' + text[len('<?xml version=\"1.1\"'):]\n"
        "    text = re.sub('&#x([0-9A-F]+);', lambda m: chr(0xF0000 + int(m.group(1), 16)) "
        "if only11(int(m.group(1), 16)) else m.group(0), text)\n"
        "back = lambda s: ''.join(chr(ord(c) - 0xF0000) if ord(c) >= 0xF0000 else c for c in s or '')\n"
        "root = E.fromstring(text.split('\\n', 1)[1])\n"
        "assert root.tag == ns + 'root'\n"
        "cells = []\n"
        "for row in root.iter(ns + 'table-row'):\n"
        "    b = row.find(ns + 'table-cell').find(ns + 'block')\n"
        "    cells += [back(b.get('font-size')), back(b.get('font-family')), back(b.text)]\n"
        "open(sys.argv[2], 'wb').write(b''.join(c.encode('utf-16-le') + b'\\0\\0' for c in cells))\n";
    const auto py = dir / (stem + ".py");
    std::ofstream(py) << script;
    const std::string command = "/usr/bin/python3 '" + py.string() + "' '" + in.string() + "' '" +
                                out.string() + "' 2>&1";
    const int rc = std::system(command.c_str());
    std::ifstream file(out, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    std::filesystem::remove(in);
    std::filesystem::remove(out);
    std::filesystem::remove(py);
    if (rc != 0) return std::nullopt;
    std::vector<std::u16string> cells(1);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (c == 0) cells.emplace_back();
        else cells.back() += c;
    }
    cells.pop_back();
    return cells;
}

TEST_F(Export, XslFoIsWellFormedWithReservedCharactersInTheData) {
    // The road's font text, and the data itself as font text so that "&" and "<" are
    // there for sure.
    const RecordEncoder road = Road(u"Code 39 Extended");
    const RecordEncoder verbatim = [](std::u16string_view r) { return std::u16string(r); };
    const std::u16string batch = Batch({u"A&B", u"<C>", u"&amp;"});
    for (const RecordEncoder& encode : {road, verbatim}) {
        const auto cells = ParsedCells(XslFoExportLayout(batch, encode, u"Font & <Face>", u"24"));
        ASSERT_TRUE(cells.has_value());
        std::vector<std::u16string> expected;
        for (auto record : BatchRecords(batch))
            expected.insert(expected.end(), {u"24pt", u"Font & <Face>", encode(record)});
        EXPECT_EQ(*cells, expected);
    }
    EXPECT_EQ(verbatim(u"A&B"), u"A&B");
    // The parser is a real check: the text written raw is refused.
    EXPECT_FALSE(ParsedCells(Utf16File(std::u16string(kHead) + Row(u"9", u"F", u"a&b<c") +
                                       std::u16string(kClosing)))
                     .has_value());
    // Matrix font text keeps its lines: each line end reads as one line feed.
    const RecordEncoder qr = Road(u"QR Code");
    std::u16string lines;
    for (char16_t c : qr(u"HELLO"))
        if (c != u'\r') lines += c;
    ASSERT_NE(lines.find(u'\n'), std::u16string::npos);
    const auto cells = ParsedCells(XslFoExportLayout(Batch({u"HELLO"}), qr, u"QR M", u"10"));
    ASSERT_TRUE(cells.has_value());
    EXPECT_EQ(*cells, (std::vector<std::u16string>{u"10pt", u"QR M", lines}));
}

// The head of an XML 1.1 document: the fixed head with its version changed.
std::u16string Head11() {
    std::u16string head(kHead);
    head[17] = u'1';
    return head;
}

TEST_F(Export, XslFoCarriesControlCharactersAsReferencesInXml11) {
    for (std::u16string_view bad : {u"a\x18", u"\x1A", u"\x01b", u"\xFFFE", u"\xD800x", u"x\xDC00"})
        EXPECT_TRUE(HoldsCharacterXmlCannotCarry(bad)) << int(bad.back());
    for (std::u16string_view good : {u"", u"a\tb\r\nc", u"\xD83D\xDE00", u"\xFFFD"})
        EXPECT_FALSE(HoldsCharacterXmlCannotCarry(good));

    // Every Code 128 row's font text holds controls (24 to 27); each cell is carried whole.
    const RecordEncoder code39 = Road(u"Code 39");
    for (std::u16string_view row : {u"Code128A", u"Code128B", u"Code128C", u"GS1-128", u"USPS-128"}) {
        const RecordEncoder code128 = Road(row);
        const std::u16string data = row == u"GS1-128" ? u"(00)350123451234567894"
                                    : row == u"USPS-128" ? u"910112345678900000001"
                                                         : u"1234567890";
        const std::u16string font = code128(data);
        ASSERT_TRUE(HoldsCharacterXmlCannotCarry(font)) << testing::PrintToString(row);
        std::vector<std::size_t> emptied;
        const RecordEncoder mixed = [&](std::u16string_view r) { return r == u"K" ? code39(r) : code128(r); };
        const std::string document = XslFoExportLayout(Batch({u"K", data}), mixed, u"F", u"9", &emptied);
        EXPECT_TRUE(emptied.empty());
        EXPECT_TRUE(document.starts_with(Utf16File(Head11()))) << "no XML 1.1 head";
        // The reader refuses a control character written raw.
        const auto cells = ParsedCells(document);
        ASSERT_TRUE(cells.has_value()) << "not well-formed";
        EXPECT_EQ(*cells, (std::vector<std::u16string>{u"9pt", u"F", code39(u"K"), u"9pt", u"F", font}));
    }

    // References byte for byte; in XML 1.1 the controls 127 to 159 and the line separators
    // are references too, also in rows written before the first control character.
    const RecordEncoder verbatim = [](std::u16string_view r) { return std::u16string(r); };
    EXPECT_EQ(XslFoExportLayout(Batch({u"a\x85", u"\x01\x19\x1F&\x7F\x2028"}), verbatim, u"F\x1B", u"9"),
              Utf16File(Head11() + Row(u"9", u"F&#x1B;", u"a&#x85;") +
                        Row(u"9", u"F&#x1B;", u"&#x01;&#x19;&#x1F;&amp;&#x7F;&#x2028;") + std::u16string(kClosing)));
    // Without controls the document stays XML 1.0 and those characters stay as they are.
    EXPECT_EQ(XslFoExportLayout(Batch({u"a\x85\x2028"}), verbatim, u"F", u"9"),
              Utf16File(std::u16string(kHead) + Row(u"9", u"F", u"a\x85\x2028") + std::u16string(kClosing)));
    const auto cells = ParsedCells(XslFoExportLayout(Batch({u"\x85\x9F\x7F", u"\x18\x1A\x1B\x0B\x0C"}), verbatim,
                                                     u"F", u"9"));
    ASSERT_TRUE(cells.has_value());
    EXPECT_EQ(*cells, (std::vector<std::u16string>{u"9pt", u"F", u"\x85\x9F\x7F", u"9pt", u"F",
                                                   u"\x18\x1A\x1B\x0B\x0C"}));
    // The shadow reader is a real check: a control character written raw is refused.
    EXPECT_FALSE(ParsedCells(Utf16File(Head11() + Row(u"9", u"F", u"a\x19") + std::u16string(kClosing))).has_value());
    EXPECT_FALSE(ParsedCells(Utf16File(Head11() + Row(u"9", u"F", u"a\x85&#x19;") + std::u16string(kClosing)))
                     .has_value());
}

TEST_F(Export, XslFoCellsNoXmlCarriesAreWrittenEmptyAndNamed) {
    const RecordEncoder code39 = Road(u"Code 39");
    std::vector<std::size_t> emptied;
    const RecordEncoder mixed = [&](std::u16string_view r) {
        return r == u"K" ? code39(r) : r == u"S" ? std::u16string(u"a\xD800") : std::u16string(u"\xFFFF");
    };
    const std::string document = XslFoExportLayout(Batch({u"K", u"S", u"K", u"F"}), mixed, u"F", u"9", &emptied);
    EXPECT_EQ(emptied, (std::vector<std::size_t>{1, 3}));
    EXPECT_TRUE(document.starts_with(Utf16File(kHead)));
    const auto cells = ParsedCells(document);
    ASSERT_TRUE(cells.has_value()) << "not well-formed";
    EXPECT_EQ(*cells, (std::vector<std::u16string>{u"9pt", u"F", code39(u"K"), u"9pt", u"F", u"", u"9pt", u"F",
                                                   code39(u"K"), u"9pt", u"F", u""}));
    EXPECT_EQ(XslFoEmptiedNote(emptied),
              u"XSL-FO: 2 record(s) written empty, first record 2: its font text holds characters XML cannot carry.");
    EXPECT_EQ(XslFoEmptiedNote({}), u"");
}

TEST_F(Export, RecordByRecordGivesTheWholeFile) {
    const RecordEncoder qr = Road(u"QR Code");
    const std::u16string batch = Batch({u"A", u"", u"Tom & Jerry", u"Z"}) + u"rest";
    for (bool xslFo : {false, true}) {
        BatchExport work = xslFo ? BatchExport(batch, u"QR M", u"10") : BatchExport(batch);
        EXPECT_EQ(work.Records(), 4u);
        std::size_t steps = 0;
        while (!work.Finished()) {
            EXPECT_EQ(work.Done(), steps);
            work.Step(qr);
            ++steps;
        }
        EXPECT_EQ(steps, 4u);
        work.Step(qr);  // nothing once finished
        EXPECT_EQ(work.Done(), 4u);
        EXPECT_EQ(Utf16File(work.Finish()),
                  xslFo ? XslFoExportLayout(batch, qr, u"QR M", u"10") : TxtExportLayout(batch, qr));
    }
    EXPECT_EQ(BatchExport(u"no record").Records(), 0u);
    EXPECT_TRUE(BatchExport(u"").Finished());
}

}  // namespace
