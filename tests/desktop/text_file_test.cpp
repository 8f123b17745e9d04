// Text files read line by line: the byte-order-mark test, lines of any length with LF and
// CR LF ends, UTF-16 line ends only at whole units, the UTF-8 decoding, and the batch import
// built on them with the checks of what the batch field can show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch.h"
#include "batch_import.h"
#include "desktop/fake_platform.h"
#include "text_file.h"

using namespace desktop;

namespace {

// Every line of `bytes`, read through a source that hands out at most `piece` bytes a call.
std::vector<std::string> Lines(std::string bytes, std::size_t unit, std::size_t piece = 4096) {
    std::size_t at = 0;
    LineReader reader([&](char* out, std::size_t capacity) {
        const std::size_t n = std::min({capacity, piece, bytes.size() - at});
        bytes.copy(out, n, at);
        at += n;
        return static_cast<long>(n);
    });
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(unit, line) == LineReader::Result::Line) lines.push_back(line);
    EXPECT_EQ(reader.Next(unit, line), LineReader::Result::End) << "the end stays the end";
    return lines;
}

std::string Le(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return bytes;
}

using Strings = std::vector<std::string>;

TEST(TextFile, MarksAreTested) {
    EXPECT_EQ(MarkOf("\xFF\xFE" "A"), TextMark::Utf16);
    EXPECT_EQ(MarkOf("\xEF\xBB\xBF"), TextMark::Utf8);
    EXPECT_EQ(MarkOf("\xEF\xBB"), TextMark::None);
    EXPECT_EQ(MarkOf("\xFE\xFF"), TextMark::None);  // big-endian is not written here
    EXPECT_EQ(MarkOf(""), TextMark::None);
    EXPECT_EQ(MarkSize(TextMark::Utf16), 2u);
    EXPECT_EQ(MarkSize(TextMark::Utf8), 3u);
    EXPECT_EQ(MarkSize(TextMark::None), 0u);
}

TEST(TextFile, LinesOfEightBitText) {
    EXPECT_EQ(Lines("", 1), Strings{});
    EXPECT_EQ(Lines("A\nB\r\n\nC", 1), (Strings{"A\n", "B\r\n", "\n", "C"}));  // no final line end
    EXPECT_EQ(Lines("A\n", 1), Strings{"A\n"});
    // Lines far longer than a piece, read a few bytes at a time as well as whole.
    const std::string longLine(3 * LineReader::kPiece + 17, 'x');
    const std::string file = "a\r\n" + longLine + "\r\n" + longLine;
    for (std::size_t piece : {std::size_t{1}, std::size_t{7}, LineReader::kPiece})
        EXPECT_EQ(Lines(file, 1, piece), (Strings{"a\r\n", longLine + "\r\n", longLine})) << piece;
    // NULs are bytes like any other.
    EXPECT_EQ(Lines(std::string("\0\n\0", 3), 1), (Strings{std::string("\0\n", 2), std::string(1, '\0')}));
}

TEST(TextFile, Utf16LinesEndOnlyAtAWholeLineFeed) {
    // U+0A41 and U+410A hold the byte 0A without being a line feed.
    const std::string file = Le(u"\u0A41\u410A\n\u0A0A\r\nlast");
    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, LineReader::kPiece}) {
        const Strings lines = Lines(file, 2, piece);
        ASSERT_EQ(lines.size(), 3u) << piece;
        EXPECT_EQ(Utf16LeUnits(lines[0]), u"\u0A41\u410A\n");
        EXPECT_EQ(Utf16LeUnits(lines[1]), u"\u0A0A\r\n");
        EXPECT_EQ(Utf16LeUnits(lines[2]), u"last");
    }
    EXPECT_EQ(Utf16LeUnits(std::string_view("A\0B", 3)), u"A\uFFFD");  // an odd byte at the end
    const std::u16string longLine(5000, u'\u00E9');
    const Strings lines = Lines(Le(longLine + u"\n" + longLine), 2, 1000);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Utf16LeUnits(lines[1]), longLine);
}

TEST(TextFile, AFailingSourceIsReported) {
    int calls = 0;
    LineReader reader([&](char* out, std::size_t) {
        if (++calls > 1) return -1L;
        out[0] = 'A';
        return 1L;
    });
    std::string line;
    EXPECT_EQ(reader.Next(1, line), LineReader::Result::Failed);
    EXPECT_EQ(line, "");
}

TEST(TextFile, Utf8IsDecodedWithStandInsForMalformedBytes) {
    EXPECT_EQ(FromUtf8("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), u"A\u00E9\u20AC\U0001F600");
    EXPECT_EQ(FromUtf8("\x80" "A"), u"\uFFFDA");                    // a stray continuation byte
    EXPECT_EQ(FromUtf8("\xC3" "A"), u"\uFFFDA");                    // a missing one
    EXPECT_EQ(FromUtf8("\xE2\x82"), u"\uFFFD");                     // cut at the end
    EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");               // an overlong form
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD");                 // a surrogate
    EXPECT_EQ(FromUtf8("\xF4\x90\x80\x80"), u"\uFFFD");             // above U+10FFFF
    EXPECT_EQ(FromUtf8(std::string("\0", 1)), std::u16string(1, u'\0'));
}

TEST(TextFile, LineEndsAreDropped) {
    EXPECT_EQ(WithoutLineEnd(u"A\r\n"), u"A");
    EXPECT_EQ(WithoutLineEnd(u"A\n"), u"A");
    EXPECT_EQ(WithoutLineEnd(u"A\r"), u"A");
    EXPECT_EQ(WithoutLineEnd(u"A\r\r\n"), u"A\r");
    EXPECT_EQ(WithoutLineEnd(u""), u"");
}

TEST(Import, MarkedFilesAreReadInTheirEncodingAndOthersAsAnsi) {
    desktop_testing::FakePlatform platform;
    std::u16string text;
    // The program's own TXT export: UTF-16 with its mark, CR LF line ends.
    const std::u16string exported = u"Please apply\r\n\r\n\u20AC\u4E2D\r\nX";
    ASSERT_TRUE(ImportText(platform, "\xFF\xFE" + Le(exported), text));
    EXPECT_EQ(text, u"Please apply\n\r\n\r\u20AC\u4E2D\n\rX\n\r\n\r");
    ASSERT_TRUE(ImportText(platform, "\xEF\xBB\xBF" "\xC3\xA9t\xC3\xA9\r\n\r\n", text));
    EXPECT_EQ(text, u"\u00E9t\u00E9\n\r\n\r");
    // Without a mark, the same bytes are ANSI text, as ever.
    ASSERT_TRUE(ImportText(platform, "\xC3\xA9t\r\n\r\n", text));
    EXPECT_EQ(text, u"\u00C3\u00A9t\n\r\n\r");
    ASSERT_TRUE(ImportText(platform, "\xFF\xFE", text));  // a mark alone is an empty file
    EXPECT_EQ(text, u"");
}

TEST(Import, TheFieldIsNeverGivenWhatItCannotShow) {
    EXPECT_FALSE(FirstFieldFault(u"A\n\rB\n\r\n\r\u00E9x\u20AC\u4E2D\n\r\n\r", true).has_value());
    // Where the shaping fails: a small tilde (byte 98 in code page 1252) first on a line.
    const auto tilde = FirstFieldFault(u"A\n\r\n\r\u02DC\n\r", true);
    ASSERT_TRUE(tilde.has_value());
    EXPECT_EQ(tilde->line, 3u);
    EXPECT_EQ(tilde->character, 0x02DC);
    EXPECT_FALSE(FirstFieldFault(u"A\n\r\n\r\u02DC\n\r", false).has_value());
    // Inside a record the tilde, the circumflex and Lao marks are shown; the circumflex also first.
    EXPECT_FALSE(FirstFieldFault(u"Ma\u02DCna \u02DC\n\r\u02C6x\u02C6\n\r\u0E81\u0EB8\u0EC8\n\r\n\r", true).has_value());
    const auto lao = FirstFieldFault(u"\u0E81\u0EC8\n\r\n\rA\u0EC8", true);
    ASSERT_TRUE(lao.has_value());
    EXPECT_EQ(lao->line, 3u);
    EXPECT_EQ(lao->character, 0x0EC8);
    // A CR alone begins a line in the field too.
    EXPECT_EQ(FirstFieldFault(u"x\r\u02DC", true)->line, 1u);
    const auto nul = FirstFieldFault(std::u16string(u"A\n\rB\0C", 6), false);
    ASSERT_TRUE(nul.has_value());
    EXPECT_EQ(nul->line, 2u);
    EXPECT_EQ(nul->character, 0);
    EXPECT_FALSE(nul->tooLong);
    // Lines up to the bound are shown, one character more is not; CR and LF both end them.
    const std::u16string longest(kLongestFieldLine, u'x');
    EXPECT_FALSE(FirstFieldFault(longest + u"\n\r" + longest + u"\r" + longest, true).has_value());
    const auto tooLong = FirstFieldFault(u"A\n\r" + longest + u"x", false);
    ASSERT_TRUE(tooLong.has_value());
    EXPECT_TRUE(tooLong->tooLong);
    EXPECT_EQ(tooLong->line, 2u);
    // Without the shaping guard every other unit is shown, control characters, modifier
    // letters, Lao marks and lone surrogates included, wherever it stands.
    std::u16string others;
    for (char16_t c = 1; c != 0; ++c) (others += c) += (c % 4096 == 0 ? u"\n" : u"");
    EXPECT_FALSE(FirstFieldFault(others, false).has_value());

    EXPECT_EQ(ImportNotShowable(u"C:\\b.txt", *tilde),
              u"Cannot import the file C:\\b.txt: line 3 holds the character U+02DC, which the batch field "
              u"cannot show. The batch is unchanged.");
    EXPECT_EQ(ImportNotShowable(u"b.txt", *tooLong),
              u"Cannot import the file b.txt: line 2 is longer than 8192 characters, which the batch field "
              u"cannot show. The batch is unchanged.");
}

}  // namespace
