// The outputs' texts: keyboard escapes read back by the escape decoder, the rich-text
// document, the plain clipboard forms, the printed page's pieces and the link's fallback line.
#include <gtest/gtest.h>

#include <algorithm>

#include "frame.h"
#include "output_texts.h"
#include "symbology_table.h"

using namespace desktop;

namespace {

std::u16string Decode(const std::u16string& text) { return linear::DecodeCharRefs(linear::kDesktop, text.c_str()); }

}  // namespace

TEST(Keyboard, EveryKeyAppendsTheCharacterTheDecoderReadsBack) {
    for (int id = kKeyFirstControl + 1; id <= kKeyLastControl; ++id)
        EXPECT_EQ(Decode(KeyEscape(id, 0)), std::u16string(1, static_cast<char16_t>(id - kKeyFirstControl))) << id;
    EXPECT_EQ(KeyEscape(kKeyFirstControl, 0), u"&#0;");
    EXPECT_EQ(KeyEscape(1019, 0), u"&#3;");
    EXPECT_EQ(Decode(KeyEscape(kKeyDel, 0)), u"\x7f");
    EXPECT_EQ(KeyEscape(kKeyFnc2, 3), u"&#242;");
    EXPECT_EQ(KeyEscape(kKeyFnc3, 3), u"&#241;");
    EXPECT_EQ(KeyEscape(kKeyFnc4, 3), u"&#246;");
    EXPECT_EQ(Decode(KeyEscape(kKeyFnc4, 3)), u"\xf6");
    EXPECT_TRUE(KeyEscape(kKeyStop, 3).empty());
    EXPECT_TRUE(KeyEscape(kKeyShift, 3).empty());
    EXPECT_TRUE(KeyEscape(1062, 3).empty());
}

TEST(Keyboard, Fnc1DependsOnTheKindAndTheKeysShowForFourKinds) {
    EXPECT_EQ(KeyEscape(kKeyFnc1, 3), u"&#247;");
    EXPECT_EQ(KeyEscape(kKeyFnc1, 19), u"&#232;");
    EXPECT_EQ(KeyEscape(kKeyFnc1, 26), u"&#232;");
    EXPECT_TRUE(KeyEscape(kKeyFnc1, 4).empty());
    EXPECT_TRUE(KeyEscape(kKeyFnc1, 0).empty());
    for (std::uint32_t kind = 0; kind < 40; ++kind)
        EXPECT_EQ(FunctionKeysShown(kind), kind == 3 || kind == 4 || kind == 19 || kind == 26) << kind;
}

TEST(Keyboard, AppendingKeepsTheWholeTextAlsoTheLongCmdmSample) {
    EXPECT_EQ(AppendEscape(u"", u"&#3;"), u"&#3;");
    const std::u16string long200(200, u'x');
    const std::u16string after = AppendEscape(long200, u"&#3;");
    EXPECT_EQ(after.size(), 204u);
    EXPECT_EQ(after.substr(0, 200), long200);
    const auto table = BuildSymbologyTable();
    const auto row = std::find_if(table.begin(), table.end(),
                                  [](const SymbologyAction& r) { return r.szDisplayName == u"Royal Mail CMDM"; });
    ASSERT_NE(row, table.end());
    const auto& cmdm = *row;
    ASSERT_GT(cmdm.szSampleData.size(), 127u);
    EXPECT_EQ(AppendEscape(cmdm.szSampleData, u"&#29;"), cmdm.szSampleData + u"&#29;");
}

TEST(Clipboard, RtfDocumentEscapesTextAndNamesFaceAndSize) {
    EXPECT_EQ(BuildRtf(u"Arial", 120, u"A{B}"),
              "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\n\r"
              "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs24 A\\{B\\}\n\r\\par }\n\r");
    auto body = [](std::u16string_view text) {
        const std::string doc = BuildRtf(u"F", 100, text);
        const std::size_t start = doc.find("\\fs20 ") + 6;
        return doc.substr(start, doc.size() - start - 10);
    };
    EXPECT_EQ(body(u"a\\b"), "a\\\\b");
    EXPECT_EQ(body(u"ab\ncd\nef"), "ab\n\\par cd\n\\par ef");
    EXPECT_EQ(body(u"\nab\ncd"), "\nab\ncd");
    EXPECT_EQ(body(u"\xc8"), "\\'c8");
    EXPECT_EQ(body(u"\x7f"), "\\'7f");
    EXPECT_EQ(body(u"\x12c"), "\\u300?");
    EXPECT_EQ(body(u"\x9c40"), "\\u-25536?");
    EXPECT_NE(BuildRtf(u"F", 125, u"x").find("\\fs25 x"), std::string::npos);
}

TEST(Clipboard, LargeSymbolIsNotCut) {
    // A large matrix symbol: 150 lines of 150 glyphs above 127 each.
    std::u16string text;
    for (int line = 0; line < 150; ++line) text += std::u16string(150, u'\xe9') + u"\r\n";
    const std::string doc = BuildRtf(u"Face", 120, text);
    EXPECT_GT(doc.size(), 8191u * 9);
    EXPECT_EQ(doc.substr(doc.size() - 8), "\\par }\n\r");
    std::size_t glyphs = 0;
    for (std::size_t at = doc.find("\\'e9"); at != std::string::npos; at = doc.find("\\'e9", at + 4)) ++glyphs;
    EXPECT_EQ(glyphs, 150u * 150u);
}

TEST(Clipboard, PlainFormsCarryOneUnitPerGlyphAndATerminator) {
    const std::u16string text = u"A\xe9\x180\n";
    EXPECT_EQ(ClipboardBytes(text), std::string("A\xe9\x80\n", 4) + '\0');
    EXPECT_EQ(ClipboardUnicode(text), text + u'\0');
    EXPECT_EQ(ClipboardBytes(u""), std::string(1, '\0'));
}

TEST(PrintPage, LinearRowPrintsTwoLabelLinesAndFourSizes) {
    const auto page = PrintBodyPieces(u"Code 39", u"KVCode39", u"A&B", u"*A&B*");
    ASSERT_EQ(page.size(), 14u);
    EXPECT_EQ(page[0].text, u"Barcode Symbology: ");
    EXPECT_TRUE(page[0].newLine);
    EXPECT_EQ(page[1].font, PrintFont::Value);
    EXPECT_EQ(page[1].text, u"Code 39");
    EXPECT_EQ(page[2].text, u";     Font Facename: ");
    EXPECT_FALSE(page[2].newLine);
    EXPECT_EQ(page[3].text, u"KVCode39");
    EXPECT_EQ(page[4].text, u"Data To Encode: ");
    EXPECT_TRUE(page[4].newLine);
    EXPECT_EQ(page[5].text, u"A&B     ");
    const int sizes[] = {8, 10, 12, 14};
    for (int i = 0; i < 4; ++i) {
        const auto& label = page[6 + 2 * i];
        const auto& bars = page[7 + 2 * i];
        EXPECT_EQ(label.text, u"Point Size " + std::u16string(sizes[i] < 10 ? u"" : u"1") +
                                  char16_t(u'0' + sizes[i] % 10) + u" :    ");
        EXPECT_TRUE(label.newLine);
        EXPECT_EQ(label.blankLines, 1);
        EXPECT_EQ(bars.font, PrintFont::Barcode);
        EXPECT_EQ(bars.pointSize, sizes[i]);
        EXPECT_EQ(bars.text, u"*A&B*");
        EXPECT_FALSE(bars.multiLine);
    }
}

TEST(PrintPage, PostalRowsPrintOnceAndMatrixSymbolsAsBlocks) {
    for (const char16_t* name : {u"USPS Postnet", u"USPS Planet"}) {
        const auto page = PrintBodyPieces(name, u"F", u"123", u"bars");
        ASSERT_EQ(page.size(), 8u);
        EXPECT_EQ(page[6].text, u"Point Size 12 : ");
        EXPECT_EQ(page[7].pointSize, 12);
    }
    EXPECT_TRUE(PrintBodyPieces(u"QR Code", u"F", u"d", u"ab\ncd")[7].multiLine);
    EXPECT_FALSE(PrintBodyPieces(u"QR Code", u"F", u"d", u"\nabcd")[7].multiLine);
}

TEST(PrintPage, BarcodeLineKeepsItsTextAndLabelWhateverItHolds) {
    const auto line = PrintBarcodePieces(u"&bars&", 14, false);
    ASSERT_EQ(line.size(), 2u);
    EXPECT_EQ(line[0].text, u"Point Size 14 :    ");
    EXPECT_EQ(line[1].text, u"&bars&");
    EXPECT_FALSE(line[1].newLine);
    EXPECT_FALSE(PrintBarcodePieces(u"", 8, false)[1].multiLine);
    // The postal line is a single line even when its text holds an LF.
    EXPECT_FALSE(PrintBarcodePieces(u"a\nb", 12, true)[1].multiLine);
    EXPECT_FALSE(PrintedOnceAt12(u"postnet"));  // the names are matched as written
    EXPECT_TRUE(PrintedOnceAt12(u"Planet"));
}

TEST(LinkFallback, AddressQuotedAfterTheCutCommand) {
    EXPECT_EQ(FallbackCommandLine(u"\"C:\\b.exe\" \"%1\" -x", u"http://a.example/?q=1&r=2"),
              u"\"C:\\b.exe\"  \"http://a.example/?q=1&r=2\"");
    EXPECT_EQ(FallbackCommandLine(u"b.exe -url %1", u"mailto:x@y.example"), u"b.exe -url  \"mailto:x@y.example\"");
    EXPECT_EQ(FallbackCommandLine(u"b.exe", u"u"), u"b.exe \"u\"");
    EXPECT_FALSE(FallbackCommandLine(u"b.exe %1", u"http://a\" & calc \"").has_value());
    EXPECT_FALSE(FallbackCommandLine(u"b.exe %1", u"a\nb").has_value());
    EXPECT_FALSE(FallbackCommandLine(u"b.exe %1", u"").has_value());
    const std::u16string command = u"b.exe %1";  // "b.exe " + " \"" + url + "\"" + NUL
    EXPECT_TRUE(FallbackCommandLine(command, std::u16string(520 - 10, u'a')).has_value());
    EXPECT_FALSE(FallbackCommandLine(command, std::u16string(520 - 9, u'a')).has_value());
}
