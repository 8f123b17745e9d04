// Option settings and check-box modes, the registry setting, and the text conversions of
// the front-ends over a platform that misbehaves.
#include <gtest/gtest.h>

#include "desktop/fake_platform.h"
#include "registry.h"
#include "settings.h"
#include "text.h"

using namespace desktop;
using desktop_testing::FakePage;
using desktop_testing::FakePlatform;

TEST(OptionSettings, StartValuesFlipsAndModes) {
    OptionSettings o;
    EXPECT_EQ(o.QRCodeECLevel, 1);
    EXPECT_EQ(o.MaxicodeMode, 2);
    EXPECT_EQ(o.AztecECLevel, 4);
    for (auto v : {o.DataMatrixEncodation, o.DataMatrixFormat, o.GS1Mode, o.PDF417SecurityLevel,
                   o.PDF417CompactionMode, o.PDF417Truncate, o.PDF417MaxRows, o.PDF417FixedColumns,
                   o.AztecPreferredFormat, o.AddChecksum})
        EXPECT_EQ(v, 0);
    EXPECT_EQ(o.HumanReadable, 1);
    // The entries the start values show.
    EXPECT_EQ(kQRCodeECLevelEntries[static_cast<std::size_t>(o.QRCodeECLevel)], u"M15");
    EXPECT_EQ(kMaxicodeModeEntries[static_cast<std::size_t>(o.MaxicodeMode)], u"Mode 4");
    EXPECT_EQ(kAztecECLevelEntries[static_cast<std::size_t>(o.AztecECLevel)], u"23%");
    EXPECT_EQ(kDataMatrixFormatEntries.back(), u"16 * 48");
    EXPECT_EQ(kAztecPreferredFormatEntries.back(), u"151 X 151");
    // Flips: twice restores, any other value becomes 0.
    EXPECT_EQ(Flipped(Flipped(0)), 0);
    EXPECT_EQ(Flipped(0), 1);
    EXPECT_EQ(Flipped(7), 0);
    // Check-box modes: "Code 39" (checksum 4, HR 3) gives 0 and 1; "Code 93" (1, 3) 1 and 1.
    std::int32_t chk = 1, hr = 0;
    EXPECT_TRUE(ApplyChecksumMode(4, chk).enabled);
    EXPECT_EQ(chk, 0);
    ApplyHumanReadableMode(3, hr);
    EXPECT_EQ(hr, 1);
    const CheckBoxState disabled = ApplyChecksumMode(1, chk);
    EXPECT_EQ(chk, 1);
    EXPECT_TRUE(disabled.shown && disabled.checked && !disabled.enabled);
    ApplyHumanReadableMode(2, hr);
    EXPECT_EQ(hr, 0);
    const CheckBoxState hidden = ApplyHumanReadableMode(0, hr);
    EXPECT_EQ(hr, 1);
    EXPECT_FALSE(hidden.shown);
    ApplyChecksumMode(0, chk);
    EXPECT_EQ(chk, 0);
    chk = 1;
    EXPECT_TRUE(ApplyChecksumMode(9, chk).shown);
    EXPECT_EQ(chk, 1);  // an unknown mode leaves the flag
}

TEST(OptionSettings, IntelligentMailFieldsJoinInOrder) {
    OptionSettings o;
    o.IMBarcodeIdentifier = u"01";
    o.IMServiceTypeIdentifier = u"234";
    o.IMMailerIdentifier = u"567094";
    o.IMSerialNumber = u"987654321";
    o.IMZipCode = u"01234567891";
    EXPECT_EQ(ComposeIMData(o), u"0123456709498765432101234567891");
}

namespace {
RegistryValue Bytes(std::uint32_t type, std::initializer_list<std::uint8_t> data) {
    return {true, type, std::vector<std::uint8_t>(data)};
}
}  // namespace

TEST(RegistrySetting, OnlyATerminatedStringCounts) {
    EXPECT_EQ(StringSetting(Bytes(kRegistryString, {'Q', 0, 'R', 0, 0, 0})), u"QR");
    EXPECT_EQ(StringSetting(Bytes(kRegistryString, {'Q', 0, 0, 0, 'X', 0})), u"Q");
    EXPECT_EQ(StringSetting(Bytes(kRegistryString, {0, 0})), u"");
    EXPECT_FALSE(StringSetting(Bytes(kRegistryString, {'Q', 0, 'R', 0})));     // no terminator
    EXPECT_FALSE(StringSetting(Bytes(kRegistryString, {'Q', 0, 'R', 0, 0})));  // half a unit
    EXPECT_FALSE(StringSetting(Bytes(3, {'Q', 0, 0, 0})));                     // binary
    EXPECT_FALSE(StringSetting(Bytes(2, {'Q', 0, 0, 0})));                     // expandable string
    EXPECT_FALSE(StringSetting(RegistryValue{}));
    EXPECT_FALSE(StringSetting(Bytes(kRegistryString, {})));
}

TEST(RegistrySetting, PathSplitReadAndWrite) {
    FakePlatform p;
    RegistryString a(p, kDefaultSymbologyPath, u"", true);
    EXPECT_EQ(a.subKey(), u"Software\\Kestrivo");
    EXPECT_EQ(a.valueName(), u"DefaultSymbology");
    EXPECT_FALSE(a.valueRead());
    EXPECT_EQ(a.Get(), u"");  // nothing stored: the default text
    RegistryString b(p, u"\\\\Software\\Kestrivo\\\\\\Name", u"dflt", false);
    EXPECT_EQ(b.subKey(), u"Software\\Kestrivo");
    EXPECT_EQ(b.valueName(), u"Name");
    EXPECT_EQ(b.Get(), u"dflt");
    RegistryString c(p, u"Alone", u"", false);
    EXPECT_EQ(c.subKey(), u"");
    EXPECT_EQ(c.valueName(), u"Alone");

    // What is written under the path is what the next start reads, in the same place.
    a.Set(u"Code 93");
    EXPECT_EQ(p.storedSubKey, u"Software\\Kestrivo");
    EXPECT_EQ(p.storedName, u"DefaultSymbology");
    RegistryString next(p, kDefaultSymbologyPath, u"", true);
    EXPECT_TRUE(next.valueRead());
    EXPECT_EQ(next.Get(), u"Code 93");
    // A value of the wrong type, or cut off, reads as the default text.
    p.stored.type = 3;
    EXPECT_EQ(next.Get(), u"");
    p.stored.type = kRegistryString;
    p.stored.data.resize(p.stored.data.size() - 2);
    EXPECT_EQ(next.Get(), u"");

    // Set writes only a change, unless every Get reads the registry.
    FakePlatform q;
    RegistryString once(q, kDefaultSymbologyPath, u"", false);
    once.Set(u"Aztec");
    once.Set(u"Aztec");
    EXPECT_EQ(q.writes, 1);
    RegistryString always(q, kDefaultSymbologyPath, u"", true);
    always.Set(u"Aztec");
    EXPECT_EQ(q.writes, 2);
    // A failed write changes nothing and says nothing.
    q.failWrites = true;
    RegistryString failing(q, u"Software\\Other\\Value", u"", false);
    failing.Set(u"x");
    EXPECT_FALSE(failing.valueRead());
}

TEST(TextConversion, Utf8WithLoneSurrogates) {
    EXPECT_EQ(ToUtf8(u"A\u00e9\u20ac"), "A\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00, 0};
    EXPECT_EQ(ToUtf8(lone), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
    const char16_t atEnd[] = {u'x', 0xDBFF, 0};
    EXPECT_EQ(ToUtf8(atEnd), "x\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8(u""), "");
}

TEST(TextConversion, AnsiSizedByQueryAndChecked) {
    FakePlatform p;
    std::string out = "old";
    EXPECT_TRUE(ToAnsi(p, CodePage::Thread, u"Ab\u00e9", out));
    EXPECT_EQ(out, "Ab\xE9");
    EXPECT_TRUE(ToAnsi(p, CodePage::Thread, u"", out));
    EXPECT_EQ(out, "");
    // A double-byte page needs more bytes than characters: the query sizes the buffer.
    p.system = FakePage::DoubleByte;
    EXPECT_TRUE(ToAnsi(p, CodePage::System, u"\u4e00\u4e01x", out));
    EXPECT_EQ(out, std::string("\x81\x00\x81\x01x", 5));
    // An adapter that answers the query short: the conversion fails whole, nothing partial.
    p.queryBias = -1;
    out = "old";
    EXPECT_FALSE(ToAnsi(p, CodePage::System, u"\u4e00\u4e01x", out));
    EXPECT_EQ(out, "");
    // One that answers long: the bytes it writes count, not its answer.
    p.queryBias = 3;
    EXPECT_TRUE(ToAnsi(p, CodePage::System, u"ab", out));
    EXPECT_EQ(out, "ab");
    p.queryBias = 0;
    p.failConversions = true;
    EXPECT_FALSE(ToAnsi(p, CodePage::Thread, u"ab", out));
    EXPECT_EQ(out, "");
}

TEST(TextConversion, BackToWideReadsOnlyTheGivenBytes) {
    FakePlatform p;
    p.thread = FakePage::DoubleByte;
    std::u16string out;
    // A lead byte at the end of the given bytes does not pull in the byte after it.
    const char bytes[] = {'A', '\x81', 'Z'};
    EXPECT_TRUE(FromAnsi(p, CodePage::Thread, std::string_view(bytes, 2), out));
    EXPECT_EQ(out, u"A?");
    EXPECT_TRUE(FromAnsi(p, CodePage::Thread, std::string_view(bytes, 3), out));
    EXPECT_EQ(out, u"A\u305A");
    p.queryBias = -1;
    EXPECT_FALSE(FromAnsi(p, CodePage::Thread, "abc", out));
    EXPECT_EQ(out, u"");
    // Byte for byte, whatever the code page.
    EXPECT_EQ(WidenBytes("\xE0\xFE\x41"), u"\u00E0\u00FE\u0041");
}
