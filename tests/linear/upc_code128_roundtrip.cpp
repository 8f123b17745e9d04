// UPC/EAN, Code 128 and GS1-128 font text drawn from the font descriptions and read back by
// the independent readers (zxing-cpp; zbarimg for the EAN add-ons).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "linear.h"
#include "support/encode_texts.h"
#include "support/reader.h"
#include "support/upc_code128_fonts.h"

using namespace linear;
using namespace testing_support;

namespace {

// The GS1 check digit, computed here independently of the encoders.
char CheckDigit(const std::string& digits) {
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const int d = digits[digits.size() - 1 - i] - '0';
        sum += i % 2 == 0 ? 3 * d : d;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string DigitsOf(std::u16string_view s) {
    std::string d;
    for (char16_t c : s)
        if (c >= u'0' && c <= u'9') d += static_cast<char>(c);
    return d;
}

std::u16string Widen(const std::string& s) {
    std::u16string w;
    for (unsigned char c : s) w += c;
    return w;
}

struct Expect {
    std::u16string input;
    std::u16string fontText;
    std::string text;            // what the reader must return
    std::string symbologyId;     // when not empty, what the reader must report
    bool cut = false;            // the data was cut at the bound: the read is a long prefix
};

class UpcCode128RoundTrip : public ::testing::TestWithParam<const Profile*> {
protected:
    void SetUp() override {
        REQUIRE_READER(ReaderAvailable(), "the zxing-cpp reader");
    }
    bool desktop() const { return GetParam()->desktopGlyphs; }

    void ReadUpc(const std::vector<Expect>& cases, const char* format) {
        std::vector<Image> images;
        for (const Expect& c : cases) {
            const auto m = UpcEanFontToModules(c.fontText);
            ASSERT_TRUE(m) << Show(c.fontText);
            images.push_back(RenderLinear(*m, 2, 60, 12));
        }
        Check(cases, ReadBarcodes(images, {format, false}));
    }
    void Read128(const std::vector<Expect>& cases) {
        std::vector<Image> images;
        for (const Expect& c : cases) {
            const auto m = Code128FontToModules(c.fontText, desktop());
            ASSERT_TRUE(m) << Show(c.fontText);
            images.push_back(RenderLinear(*m, 2, 30, 12));
        }
        Check(cases, ReadBarcodes(images, {"Code128", false}));
    }
    void Check(const std::vector<Expect>& cases, const std::vector<ReadResult>& results) {
        ASSERT_EQ(results.size(), cases.size());
        for (std::size_t i = 0; i < cases.size(); ++i) {
            ASSERT_TRUE(results[i].found) << "not read: " << Show(cases[i].input) << " -> "
                                          << Show(cases[i].fontText);
            if (cases[i].cut) {
                EXPECT_EQ(cases[i].text.rfind(results[i].bytes, 0), 0u);
                EXPECT_GE(results[i].bytes.size(), cases[i].fontText.size() - 5);
            } else {
                EXPECT_EQ(results[i].bytes, cases[i].text) << Show(cases[i].input);
            }
            if (!cases[i].symbologyId.empty()) {
                EXPECT_EQ(results[i].symbologyId, cases[i].symbologyId) << Show(cases[i].input);
            }
        }
    }

    // Random UPC/EAN inputs: digits with some noise, lengths around the symbology's count.
    std::vector<std::u16string> UpcInputs(std::size_t count) {
        std::vector<std::u16string> v;
        for (std::size_t i = 0; i < count; ++i) {
            std::u16string s;
            const std::size_t n = rng() % 16;
            for (std::size_t k = 0; k < n; ++k)
                s += rng() % 8 ? static_cast<char16_t>(u'0' + rng() % 10) : u"-x &"[rng() % 4];
            v.push_back(s);
        }
        return v;
    }

    Context ctx{*GetParam()};
    std::mt19937 rng{128};
};

TEST_P(UpcCode128RoundTrip, UpcAndEanReadWithTheirCheckDigits) {
    std::vector<Expect> ean13, ean8, upca, upce, bookland;
    for (const auto& in : UpcInputs(200)) {
        std::string d = DigitsOf(in);
        std::string d12 = d, d7 = d, d11 = d, d6 = d;
        d12.resize(12, '0');
        d7.resize(7, '0');
        d11.resize(11, '0');
        d6.resize(6, '0');
        ean13.push_back({in, Encode(EncodeEAN13, ctx, in), d12 + CheckDigit(d12), ""});
        ean8.push_back({in, Encode(EncodeEAN8, ctx, in), d7 + CheckDigit(d7), ""});
        upca.push_back({in, Encode(EncodeUPCA, ctx, in), d11 + CheckDigit(d11), ""});
        // The UPC-E reader reports number system, six digits and the check of the expansion.
        std::string e;
        switch (d6[5]) {
            case '0': case '1': case '2': e = d6.substr(0, 2) + d6[5] + "0000" + d6.substr(2, 3); break;
            case '3': e = d6.substr(0, 3) + "00000" + d6.substr(3, 2); break;
            case '4': e = d6.substr(0, 4) + "00000" + d6[4]; break;
            default: e = d6.substr(0, 5) + "0000" + d6[5];
        }
        if (d.size() != 8) upce.push_back({in, Encode(EncodeUPCE, ctx, in), "0" + d6 + CheckDigit("0" + e), ""});
        std::string isbn = d;
        isbn.resize(10, '0');
        const std::string b = "978" + isbn.substr(0, 9);
        if (d.size() != 13) bookland.push_back({in, Encode(EncodeBookland, ctx, in), b + CheckDigit(b), ""});
    }
    // UPC-E in its full eight-digit form and Bookland from an ISBN-13.
    upce.push_back({u"01234565", Encode(EncodeUPCE, ctx, u"01234565"), "01234565", ""});
    bookland.push_back({u"978-0-7352-0044-9", Encode(EncodeBookland, ctx, u"978-0-7352-0044-9"),
                        "9780735200449", ""});
    ReadUpc(ean13, "EAN13");
    ReadUpc(ean8, "EAN8");
    ReadUpc(upca, "UPCA");
    ReadUpc(upce, "UPCE");
    ReadUpc(bookland, "EAN13");
}

std::vector<std::string> Zbar(const std::vector<Image>& images) {
    namespace fs = std::filesystem;
    const std::string tmpl = MakeTempFolder();
    std::vector<std::string> out;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const fs::path p = fs::path(tmpl) / (std::to_string(i) + ".pgm");
        {
            std::ofstream f(p, std::ios::binary);
            f << "P5\n" << images[i].width << " " << images[i].height << "\n255\n";
            f.write(reinterpret_cast<const char*>(images[i].pixels.data()),
                    static_cast<std::streamsize>(images[i].pixels.size()));
        }
        const std::string cmd = "zbarimg -q -Sean2.enable -Sean5.enable " + p.string() + " 2>/dev/null";
        std::string text;
        if (FILE* f = popen(cmd.c_str(), "r")) {
            char buf[256];
            while (fgets(buf, sizeof buf, f)) text += buf;
            pclose(f);
        }
        out.push_back(text);
    }
    fs::remove_all(tmpl);
    return out;
}

TEST_P(UpcCode128RoundTrip, AddOnsReadByZbar) {
    REQUIRE_READER(ZbarAvailable(), "zbarimg");
    std::vector<Image> images;
    std::vector<std::string> expected;
    for (int i = 0; i < 60; ++i) {
        std::string addOn;
        const int n = 1 + static_cast<int>(rng() % 6);
        for (int k = 0; k < n; ++k) addOn += static_cast<char>('0' + rng() % 10);
        std::string main = std::to_string(100000000000ull + rng() % 800000000000ull);
        const std::u16string in = Widen(main + "|" + addOn);
        std::string fit = addOn;
        fit.resize(fit.size() <= 2 ? 2 : 5, '0');
        const EncodeFn fn = i % 3 == 0 ? EncodeEAN13 : i % 3 == 1 ? EncodeUPCA : EncodeBookland;
        const auto m = UpcEanFontToModules(Encode(fn, ctx, in));
        ASSERT_TRUE(m);
        images.push_back(RenderLinear(*m, 3, 80, 15));
        expected.push_back(fit);
    }
    const auto got = Zbar(images);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NE(got[i].find((expected[i].size() == 2 ? "EAN-2:" : "EAN-5:") + expected[i]),
                  std::string::npos)
            << got[i];
}

// Random Code 128 data over an alphabet.
std::u16string RandomText(std::mt19937& rng, std::u16string_view alphabet, std::size_t maxLen) {
    std::u16string s(1 + rng() % maxLen, u' ');
    for (auto& c : s) c = alphabet[rng() % alphabet.size()];
    return s;
}

std::string Bytes(std::u16string_view s) {
    std::string b;
    for (char16_t c : s) b += c == kNulStandIn ? '\0' : static_cast<char>(c);
    return b;
}

TEST_P(UpcCode128RoundTrip, Code128FixedSetsReadBackTheirData) {
    std::u16string setA, setB;
    for (char16_t c = 1; c <= 95; ++c) setA += c;
    setA += kNulStandIn;
    for (char16_t c = 32; c <= 127; ++c) setB += c;
    std::vector<Expect> cases;
    for (int i = 0; i < 150; ++i) {
        const std::u16string a = RandomText(rng, setA, 30);
        const std::u16string b = RandomText(rng, setB, 30);
        std::u16string c;
        for (std::size_t k = 0, n = 1 + rng() % 30; k < n; ++k) c += static_cast<char16_t>(u'0' + rng() % 10);
        std::string cd = Bytes(c);
        if (cd.size() % 2) cd = "0" + cd;
        cases.push_back({a, Encode(i % 2 ? EncodeCode128A : EncodeCode128AWCheck, ctx, a), Bytes(a), ""});
        cases.push_back({b, Encode(i % 2 ? EncodeCode128B : EncodeCode128BWCheck, ctx, b), Bytes(b), ""});
        cases.push_back({c, Encode(i % 2 ? EncodeCode128C : EncodeCode128CWCheck, ctx, c), cd, ""});
    }
    // At the bound the data is cut and check and stop are kept.
    const std::u16string longB(3000, u'k');
    const std::u16string fB = Encode(EncodeCode128B, ctx, longB);
    cases.push_back({longB, fB, std::string(3000, 'k'), "", true});
    const std::u16string longC(3000, u'7');
    const std::u16string fC = Encode(EncodeCode128C, ctx, longC);
    // The decoded input itself is bounded by the buffer size; an odd count gets a "0" in front.
    const std::size_t keptC = std::min<std::size_t>(3000, GetParam()->bufferUnits - 1);
    cases.push_back({longC, fC, (keptC % 2 ? "0" : "") + std::string(keptC, '7'), "", true});
    // Function values entered in the fixed sets: FNC1 in the data reads as GS; FNC4 in set B
    // (245) and in set A (246) adds 128 to the next character.
    const std::u16string fnc1 = u"AB1" + std::u16string(1, kInFnc1) + u"CD";
    cases.push_back({fnc1, Encode(EncodeCode128A, ctx, fnc1), "AB1\x1d" "CD", ""});
    cases.push_back({fnc1, Encode(EncodeCode128B, ctx, fnc1), "AB1\x1d" "CD", ""});
    const std::u16string fnc4b = u"x" + std::u16string(1, 245) + u"A";
    cases.push_back({fnc4b, Encode(EncodeCode128B, ctx, fnc4b), "x\xc1", ""});
    const std::u16string fnc4a = u"X" + std::u16string(1, 246) + u"A";
    cases.push_back({fnc4a, Encode(EncodeCode128A, ctx, fnc4a), "X\xc1", ""});
    // In set C the function codes stand alone; each digit run is paired on its own.
    const std::u16string c1 = u"1234" + std::u16string(1, kInFnc1) + u"567";
    cases.push_back({c1, Encode(EncodeCode128C, ctx, c1), "1234\x1d" "0567", ""});
    Read128(cases);
}

TEST_P(UpcCode128RoundTrip, Code128AutomaticChoiceReadsBackTheInput) {
    std::u16string alphabet;
    for (char16_t c = 1; c <= 126; ++c) alphabet += c;
    alphabet += u"0123456789012345678901234567890123456789";  // long digit runs
    alphabet += kNulStandIn;
    std::vector<Expect> cases;
    for (int i = 0; i < 300; ++i) {
        std::u16string t = RandomText(rng, alphabet, 40);
        // Dropped characters and FNC1 after the first three characters.
        if (i % 5 == 0) t.insert(rng() % (t.size() + 1), 1, char16_t(0x100 + rng() % 300));
        if (i % 7 == 0 && t.size() > 3) t.insert(3 + rng() % (t.size() - 2), 1, kInFnc1);
        std::string expected;
        for (char16_t c : t) {
            if (c == kInFnc1) expected += '\x1d';
            else if (c == kNulStandIn) expected += '\0';
            else if (c < 127) expected += static_cast<char>(c);
        }
        cases.push_back({t, Encode(EncodeCode128Auto, ctx, t), expected, ""});
    }
    // A first character that the automatic choice drops still gives a start.
    for (const std::u16string& t : {std::u16string(u"\x7f" "abc"), std::u16string(1, kInFnc3) + u"12345",
                                   std::u16string(1, kNulStandIn) + u"a", std::u16string(u"\x1f" "1234567b")})
        cases.push_back({t, Encode(EncodeCode128Auto, ctx, t), Bytes(t.front() == kNulStandIn ? t : t.substr(1)), ""});
    cases.back().text = "\x1f" "1234567b";
    const std::u16string fnc1First = std::u16string(1, kInFnc1) + u"0112345678901231";
    cases.push_back({fnc1First, Encode(EncodeCode128Auto, ctx, fnc1First), "0112345678901231", "]C1"});
    const std::u16string longText(3000, u'5');
    const std::u16string f = Encode(EncodeCode128Auto, ctx, longText);
    cases.push_back({longText, f, std::string(3000, '5'), "", true});
    Read128(cases);
}

TEST_P(UpcCode128RoundTrip, Gs1Usps128AndSsccReadWithFnc1AndChecks) {
    std::vector<Expect> cases;
    auto digits = [&](std::size_t n) {
        std::string s;
        for (std::size_t k = 0; k < n; ++k) s += static_cast<char>('0' + rng() % 10);
        return s;
    };
    for (int i = 0; i < 150; ++i) {
        // Fixed-length fields run on; a variable-length field is followed by GS.
        const std::string gtin = digits(14), date = digits(6), lot = digits(1 + rng() % 10) + "AB";
        const std::string serial = digits(1 + rng() % 12);
        std::string in, out;
        if (i % 2) {
            in = "(01)" + gtin + "(10)" + lot + "(17)" + date + "(21)" + serial;
            out = "01" + gtin + "10" + lot + "\x1d" "17" + date + "21" + serial;
        } else {
            in = "(17)" + date + "(3103)" + digits(6) + "(10)" + lot;
            out = in;
            std::string r;
            for (char c : out)
                if (c != '(' && c != ')') r += c;
            out = r;
        }
        cases.push_back({Widen(in), Encode(EncodeGS1128, ctx, Widen(in)), out, "]C1"});
        const std::string usps = digits(rng() % 30);
        cases.push_back({Widen(usps), Encode(EncodeUSPS128, ctx, Widen(usps)), usps + CheckDigit(usps), "]C1"});
        std::string sscc = digits(17);
        const std::string ssccIn = i % 3 == 0 ? "00" + sscc + "9" : i % 3 == 1 ? sscc : "(00)" + sscc;
        cases.push_back({Widen(ssccIn), Encode(EncodeSSCC, ctx, Widen(ssccIn)), "00" + sscc + CheckDigit(sscc), "]C1"});
    }
    Read128(cases);
}

INSTANTIATE_TEST_SUITE_P(Builds, UpcCode128RoundTrip, ::testing::Values(&kServer, &kDesktop),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
