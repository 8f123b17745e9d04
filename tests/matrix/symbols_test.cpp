// The symbol-kind entry: the encoder and the symbology number each kind reaches in each
// build, and the line ends of the two builds' calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "matrix.h"
#include "support/encode_texts.h"

using namespace matrix;
using testing_support::AsBytes;

namespace {

struct KindCase {
    Symbol kind;
    RecordEncoder encoder;
    int serverNumber, desktopNumber;  // the record's symbology number in each build
    const char* data;                 // data the kind encodes
};

const KindCase kKinds[] = {
    {Symbol::DataMatrix, &EncodeDataMatrix, 0, 0, "Data Matrix 123"},
    {Symbol::QRCode, &EncodeQRCode, 0, 0, "QR Code 123"},
    {Symbol::MicroQRCode, &EncodeMicroQRCode, 0, 0, "12345"},
    {Symbol::Aztec, &EncodeAztec, 0, 0, "Aztec 123"},
    {Symbol::Maxicode, &EncodeMaxicode, 26, 30, "Maxicode 123"},
    {Symbol::PDF417, &EncodePDF417, 20, 24, "PDF417 123"},
    {Symbol::PDF417Truncated, &EncodePDF417, 56, 56, "PDF417 123"},
    {Symbol::MicroPDF417, &EncodeMicroPDF417, 21, 25, "MicroPDF417"},
    {Symbol::DatabarOmni, &EncodeDatabar, 27, 31, "2001234567890"},
    {Symbol::DatabarStacked, &EncodeDatabar, 29, 33, "2001234567890"},
    {Symbol::DatabarStackedOmni, &EncodeDatabar, 30, 34, "2001234567890"},
    {Symbol::DatabarLimited, &EncodeDatabarLimited, 28, 32, "1501234567890"},
    {Symbol::DatabarExpanded, &EncodeDatabarExpanded, 31, 35, "(01)98898765432106(3202)012345"},
    {Symbol::DatabarExpandedStacked, &EncodeDatabarExpanded, 32, 36, "(01)98898765432106(3202)012345"},
    {Symbol::PharmaOne, &EncodePharmaOne, 51, 51, "1234"},
    {Symbol::PharmaTwo, &EncodePharmaTwo, 53, 53, "1234"},
};

struct Encoded {
    int result;
    int symbology;
    std::string text;
};

Encoded ThroughEntry(Symbol kind, const std::string& data, const Call& call) {
    auto rec = std::make_unique<SymbolRecord>();
    rec->option1 = kind == Symbol::Maxicode ? 4 : 0;
    rec->symbology = -7;  // the entry writes its own
    const int r = EncodeSymbol(kind, *rec, AsBytes(data), call);
    return {r, rec->symbology, rec->fontText};
}

TEST(SymbolEntry, EachKindReachesItsEncoderWithItsBuildsNumber) {
    for (const KindCase& k : kKinds) {
        for (const bool desktop : {false, true}) {
            const Call call = desktop ? Call::Desktop() : Call::Server(true);
            const int number = desktop ? k.desktopNumber : k.serverNumber;
            EXPECT_EQ(SymbologyOf(k.kind, call.build()), number) << k.data;
            EXPECT_EQ(EncoderOf(k.kind), k.encoder) << k.data;
            const Encoded e = ThroughEntry(k.kind, k.data, call);
            ASSERT_EQ(e.result, kSuccess) << k.data;
            EXPECT_EQ(e.symbology, number) << k.data;
            // The same as the encoder called directly with the number set by hand.
            auto rec = std::make_unique<SymbolRecord>();
            rec->option1 = k.kind == Symbol::Maxicode ? 4 : 0;
            rec->symbology = number;
            ASSERT_EQ(k.encoder(*rec, AsBytes(k.data), call), kSuccess) << k.data;
            EXPECT_EQ(e.text, rec->fontText) << k.data;
            EXPECT_FALSE(e.text.empty()) << k.data;
        }
    }
}

// The forms that share an encoder differ by the number the entry writes.
TEST(SymbolEntry, SharedEncodersGiveTheirKindsForms) {
    for (const bool desktop : {false, true}) {
        const Call call = desktop ? Call::Desktop() : Call::Server(false);
        const std::string omni = ThroughEntry(Symbol::DatabarOmni, "2001234567890", call).text;
        const std::string stacked = ThroughEntry(Symbol::DatabarStacked, "2001234567890", call).text;
        const std::string stackedOmni = ThroughEntry(Symbol::DatabarStackedOmni, "2001234567890", call).text;
        EXPECT_EQ(omni.size(), 46u);
        EXPECT_EQ(stacked.size(), 51u);
        EXPECT_EQ(stackedOmni.size(), 103u);
        const std::string expanded = ThroughEntry(Symbol::DatabarExpanded, "(10)ABCDEFGHIJKL", call).text;
        const std::string expandedStacked =
            ThroughEntry(Symbol::DatabarExpandedStacked, "(10)ABCDEFGHIJKL", call).text;
        EXPECT_EQ(expanded.find('\n'), std::string::npos);
        EXPECT_NE(expandedStacked.find('\n'), std::string::npos);
        const std::string full = ThroughEntry(Symbol::PDF417, "PDF417", call).text;
        const std::string truncated = ThroughEntry(Symbol::PDF417Truncated, "PDF417", call).text;
        EXPECT_LT(truncated.size(), full.size());
    }
}

int CountOf(const std::string& s, char c) { return static_cast<int>(std::count(s.begin(), s.end(), c)); }

// Server calls end band lines as asked; desktop calls as each symbology fixes them.
TEST(SymbolEntry, LineEndsOfTheTwoBuilds) {
    const Symbol crlfKinds[] = {Symbol::DataMatrix, Symbol::QRCode, Symbol::MicroQRCode, Symbol::PDF417,
                                Symbol::MicroPDF417};
    for (Symbol kind : crlfKinds) {
        const std::string lf = ThroughEntry(kind, "12345", Call::Server(false)).text;
        const std::string crlf = ThroughEntry(kind, "12345", Call::Server(true)).text;
        ASSERT_GT(CountOf(lf, '\n'), 1);
        EXPECT_EQ(CountOf(lf, '\r'), 0);
        EXPECT_EQ(CountOf(crlf, '\r'), CountOf(crlf, '\n'));
        EXPECT_EQ(ThroughEntry(kind, "12345", Call::Desktop()).text, crlf);
    }
    const std::string aztecLf = ThroughEntry(Symbol::Aztec, "12345", Call::Server(false)).text;
    EXPECT_EQ(CountOf(aztecLf, '\r'), 0);
    EXPECT_GT(CountOf(ThroughEntry(Symbol::Aztec, "12345", Call::Server(true)).text, '\r'), 0);
    EXPECT_EQ(CountOf(ThroughEntry(Symbol::Aztec, "12345", Call::Desktop()).text, '\r'), 0);
    // Maxicode ends its lines with CR LF whatever the call.
    EXPECT_EQ(CountOf(ThroughEntry(Symbol::Maxicode, "12345", Call::Server(false)).text, '\r'), 11);
    EXPECT_EQ(CountOf(ThroughEntry(Symbol::Maxicode, "12345", Call::Desktop()).text, '\r'), 11);
}

// Aztec's level numbering is the call's build's: option1 0 is the default level in the
// server and the 5 % level in the desktop.
TEST(SymbolEntry, AztecLevelNumberingFollowsTheBuild) {
    const std::string data(120, 'A');  // 37 x 37 at 23 %, 31 x 31 at 5 %
    auto side = [&](int option1, const Call& call) {
        auto rec = std::make_unique<SymbolRecord>();
        rec->option1 = option1;
        EXPECT_EQ(EncodeSymbol(Symbol::Aztec, *rec, AsBytes(data), call), kSuccess);
        return rec->rows;
    };
    EXPECT_EQ(side(0, Call::Server(false)), side(5, Call::Server(false)));  // 23 %
    EXPECT_EQ(side(0, Call::Desktop()), side(1, Call::Server(false)));      // 5 %
    EXPECT_LT(side(0, Call::Desktop()), side(0, Call::Server(false)));
}

}  // namespace
