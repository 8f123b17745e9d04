#include "symbology_table.h"

#include <algorithm>

#include "desktop_linear.h"
#include "front_ends.h"
#include "linear.h"
#include "registry.h"

namespace desktop {

namespace {

using namespace linear;

// Font family keys: the stems of every face name of the barcode fonts.
constexpr std::u16string_view kUpcEanKey = u"KVUpcEan";
constexpr std::u16string_view kCode128Key = u"KVCode128";
constexpr std::u16string_view kPharmaKey = u"KVPharma";
constexpr std::u16string_view kPostnetKey = u"KVPostnet";
constexpr std::u16string_view kPlanetKey = u"KVPlanet";
constexpr std::u16string_view kIntelligentMailKey = u"KVIntelligentMail";
constexpr std::u16string_view kRoyalMailKey = u"KVRoyalMail";
constexpr std::u16string_view kCmdmKey = u"KVCmdm";
constexpr std::u16string_view kDataMatrixKey = u"KVDataMatrix";
constexpr std::u16string_view kDataMatrixSemiKey = u"KVDataMatrixSemi";
constexpr std::u16string_view kQRCodeSemiKey = u"KVQRCodeSemi";
constexpr std::u16string_view kBC412Key = u"KVBC412";
constexpr std::u16string_view kCode39SemiKey = u"KVCode39Semi";
constexpr std::u16string_view kPdf417Key = u"KVPdf417";
constexpr std::u16string_view kQRCodeKey = u"KVQRCode";
constexpr std::u16string_view kAztecKey = u"KVAztec";
constexpr std::u16string_view kMaxicodeKey = u"KVMaxicode";
constexpr std::u16string_view kPharmaTwoKey = u"KVPharmaTwo";
constexpr std::u16string_view kDatabarKey = u"KVDatabar";
constexpr std::u16string_view kSemiKey = u"KVSemi";
constexpr std::u16string_view kCartonKey = u"KVCarton";
constexpr std::u16string_view kCode39Key = u"KVCode39";
constexpr std::u16string_view kCode39ExtKey = u"KVCode39Ext";
constexpr std::u16string_view kCode93Key = u"KVCode93";
constexpr std::u16string_view kCode128AKey = u"KVCode128A";
constexpr std::u16string_view kAsianCode128AKey = u"KVAsianCode128A";
constexpr std::u16string_view kCode128BKey = u"KVCode128B";
constexpr std::u16string_view kAsianCode128BKey = u"KVAsianCode128B";
constexpr std::u16string_view kCode128CKey = u"KVCode128C";
constexpr std::u16string_view kAsianCode128CKey = u"KVAsianCode128C";
constexpr std::u16string_view kCodabarKey = u"KVCodabar";
constexpr std::u16string_view kI25Key = u"KVI25";
constexpr std::u16string_view kCode25Key = u"KVCode25";
constexpr std::u16string_view kCode11Key = u"KVCode11";
constexpr std::u16string_view kMsiKey = u"KVMsi";
constexpr std::u16string_view kTelepenKey = u"KVTelepen";
constexpr std::u16string_view kTelepenNumKey = u"KVTelepenNum";
constexpr std::u16string_view kCode16KKey = u"KVCode16K";

// A face list that does not follow the composed rule: the family key and its faces' suffixes.
struct FixedFamily {
    std::u16string_view key;
    std::vector<std::u16string_view> suffixes;
};

const std::vector<FixedFamily>& FixedFamilies() {
    static const std::vector<FixedFamily> families = {
        {kPharmaKey, {u""}},
        {kPostnetKey, {u""}},
        {kPlanetKey, {u""}},
        {kIntelligentMailKey, {u""}},
        {kRoyalMailKey, {u""}},
        {kCmdmKey, {u""}},
        {kDataMatrixKey, {u""}},
        {kDataMatrixSemiKey, {u""}},
        {kQRCodeSemiKey, {u""}},
        {kBC412Key, {u""}},
        {kCode39SemiKey, {u""}},
        {kPdf417Key, {u""}},
        {kQRCodeKey, {u""}},
        {kAztecKey, {u""}},
        {kMaxicodeKey, {u""}},
        {kPharmaTwoKey, {u"L", u"S"}},
        {kDatabarKey, {u"S", u"M", u"L"}},
        {kSemiKey, {u"", u"B"}},
        {kCartonKey, {u"Hr", u""}},
    };
    return families;
}

const FixedFamily* FixedFamilyOf(std::u16string_view key) {
    for (const auto& f : FixedFamilies())
        if (EqualNoCase(f.key, key)) return &f;
    return nullptr;
}

// The row sample of "Royal Mail CMDM": the data followed by spaces up to 199 characters.
std::u16string CmdmSample() {
    std::u16string s =
        u"JGB 6201120B012722900021AC35B211234567112345612345612345121234567890ABC1234123456789012"
        u"345678901234567890ABCDE12345678912312345678912345678910123456789ABCDEF0123456789ABCDEF";
    s.resize(kSampleDataUnits - 1, u' ');
    return s;
}

struct Row {
    std::uint32_t kind;
    std::u16string_view name;
    EncodeFn encode[3];
    std::int32_t chk, a2, hr;
    std::u16string_view key;
    std::int32_t a4, a5;
    std::u16string_view suffix;  // of the default face
    std::u16string_view sample;
};

template <linear::EncodeFn F>
constexpr EncodeFn L = &Linear<F>;

}  // namespace

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

std::vector<SymbologyAction> BuildSymbologyTable() {
    static const std::u16string cmdm = CmdmSample();
    const Row rows[] = {
        {kKindCode39, u"Code 39", {L<EncodeCode39>, L<EncodeCode39Check>, L<EncodeCode39Variant3>}, 4, 4, 3, kCode39Key, 0, 0, u"MHr", u"KESTRIVO"},
        {kKindCode39, u"Code 39 Extended", {L<EncodeCode39Ext>, L<EncodeCode39Ext>, L<EncodeCode39Ext>}, 2, 1, 3, kCode39ExtKey, 0, 0, u"MHr", u"Kestrivo"},
        {kKindCode39, u"USS Code 39", {L<EncodeUSSCode39>, L<EncodeUSSCode39>, L<EncodeUSSCode39>}, 3, 4, 3, kCode39Key, 0, 0, u"MHr", u"0112345678900000001"},
        {kKindCode93, u"Code 93", {L<EncodeCode93>, L<EncodeCode93>, L<EncodeCode93>}, 1, 1, 3, kCode93Key, 0, 0, u"MHr", u"KESTRIVO"},
        {kKindUpcEan, u"UPC-A", {L<EncodeUPCA>, L<EncodeUPCA>, L<EncodeUPCA>}, 1, 0, 1, kUpcEanKey, 0, 1, u"M", u"03288667318|51899"},
        {kKindUpcEan, u"UPC-E", {L<EncodeUPCE>, L<EncodeUPCE>, L<EncodeUPCE>}, 1, 0, 1, kUpcEanKey, 0, 1, u"M", u"71245|29"},
        {kKindUpcEan, u"EAN-13", {L<EncodeEAN13>, L<EncodeEAN13>, L<EncodeEAN13>}, 1, 0, 1, kUpcEanKey, 0, 1, u"M", u"123456789012|51299"},
        {kKindUpcEan, u"EAN-8", {L<EncodeEAN8>, L<EncodeEAN8>, L<EncodeEAN8>}, 1, 0, 1, kUpcEanKey, 0, 1, u"M", u"1234567|29"},
        {kKindUpcEan, u"Bookland", {L<EncodeBookland>, L<EncodeBookland>, L<EncodeBookland>}, 1, 0, 1, kUpcEanKey, 0, 1, u"M", u"123456789|54999"},
        {kKindCode128, u"Code128A", {L<EncodeCode128A>, L<EncodeCode128AWCheck>, L<EncodeCode128A>}, 4, 1, 3, kCode128AKey, 0, 1, u"MHr", u"KESTRIVO"},
        {kKindAsianCode128, u"Asian-Code128A", {L<EncodeAsianCode128A>, L<EncodeAsianCode128A>, L<EncodeAsianCode128A>}, 1, 1, 3, kAsianCode128AKey, 0, 1, u"MHr", u"KESTRIVO"},
        {kKindCode128, u"Code128B", {L<EncodeCode128B>, L<EncodeCode128BWCheck>, L<EncodeCode128B>}, 4, 1, 3, kCode128BKey, 0, 1, u"MHr", u"KESTRIVO"},
        {kKindAsianCode128, u"Asian-Code128B", {L<EncodeAsianCode128B>, L<EncodeAsianCode128B>, L<EncodeAsianCode128B>}, 1, 1, 3, kAsianCode128BKey, 0, 1, u"MHr", u"KESTRIVO"},
        {kKindCode128, u"Code128C", {L<EncodeCode128C>, L<EncodeCode128CWCheck>, L<EncodeCode128C>}, 4, 1, 3, kCode128CKey, 0, 1, u"MHr", u"9780735200449"},
        {kKindAsianCode128, u"Asian-Code128C", {L<EncodeAsianCode128C>, L<EncodeAsianCode128C>, L<EncodeAsianCode128C>}, 1, 1, 3, kAsianCode128CKey, 0, 1, u"MHr", u"1234567890"},
        {kKindCode128, u"GS1-128", {L<EncodeGS1128>, L<EncodeGS1128>, L<EncodeGS1128>}, 1, 1, 2, kCode128Key, 0, 1, u"M", u"(00)350123451234567894"},
        {kKindCode128, u"USPS-128", {L<EncodeUSPS128>, L<EncodeUSPS128>, L<EncodeUSPS128>}, 1, 1, 2, kCode128Key, 0, 1, u"M", u"910112345678900000001"},
        {kKindCodabar, u"Codabar", {L<EncodeCodabar>, L<EncodeCodabar>, L<EncodeCodabar>}, 2, 0, 3, kCodabarKey, 0, 1, u"MHr", u"123-456"},
        {kKindPharmaOne, u"Pharma One", {FrontEndPharmaOne, FrontEndPharmaOne, FrontEndPharmaOne}, 2, 0, 4, kPharmaKey, 0, 1, u"", u"52"},
        {kKindPharmaTwo, u"Pharma Two", {FrontEndPharmaTwo, FrontEndPharmaTwo, FrontEndPharmaTwo}, 2, 0, 4, kPharmaTwoKey, 0, 1, u"L", u"105"},
        {kKindInterleaved2of5, u"Interleaved 2 of 5", {L<EncodeI25>, L<EncodeI25Check>, nullptr}, 4, 0, 3, kI25Key, 0, 1, u"MHr", u"12345678"},
        {kKindMasterCarton, u"Master Carton Code", {L<EncodeI25Check>, L<EncodeI25Check>, nullptr}, 1, 0, 1, kCartonKey, 0, 1, u"", u"1012345600001"},
        {kKindCode25, u"Code 25", {L<EncodeCode25>, L<EncodeCode25Check>, nullptr}, 4, 0, 3, kCode25Key, 0, 1, u"MHr", u"12345678"},
        {kKindCode11, u"Code 11", {L<EncodeCode11>, L<EncodeCode11>, L<EncodeCode11>}, 1, 0, 3, kCode11Key, 0, 1, u"MHr", u"123456"},
        {kKindMsi, u"MSI/Plessey", {L<EncodeMSI>, L<EncodeMSI>, nullptr}, 1, 0, 3, kMsiKey, 0, 1, u"MHr", u"123456"},
        {kKindPostnet, u"Postnet", {L<EncodePOSTNET>, L<EncodePOSTNET>, nullptr}, 1, 0, 2, kPostnetKey, 3, 0, u"", u"91801"},
        {kKindPostnet, u"Planet", {L<EncodePOSTNET>, L<EncodePOSTNET>, nullptr}, 1, 0, 2, kPlanetKey, 3, 0, u"", u"35619389821"},
        {kKindTelepen, u"Telepen", {L<EncodeTelepen>, L<EncodeTelepen>, L<EncodeTelepen>}, 1, 0, 3, kTelepenKey, 0, 0, u"MHr", u"Kestrivo"},
        {kKindTelepenNumeric, u"Telepen Numeric", {L<EncodeTelepenNumeric>, L<EncodeTelepenNumeric>, L<EncodeTelepenNumeric>}, 1, 0, 3, kTelepenNumKey, 0, 0, u"MHr", u"192234555666"},
        {kKindIntelligentMail, u"Intelligent Mail", {FrontEndIntelligentMail, FrontEndIntelligentMail, FrontEndIntelligentMail}, 1, 0, 2, kIntelligentMailKey, 0, 0, u"", u"0123456709498765432101234567891"},
        {kKindRoyalMail, u"Royal Mail", {L<EncodeRoyalMail>, L<EncodeRoyalMail>, L<EncodeRoyalMail>}, 1, 0, 2, kRoyalMailKey, 0, 0, u"", u"ABC123"},
        {kKindRoyalMailCmdm, u"Royal Mail CMDM", {FrontEndRoyalMailCMDM, FrontEndRoyalMailCMDM, FrontEndRoyalMailCMDM}, 1, 0, 2, kCmdmKey, 0, 0, u"", cmdm},
        {kKindDataMatrix, u"Data Matrix", {FrontEndDataMatrix, FrontEndDataMatrix, FrontEndDataMatrix}, 1, 0, 2, kDataMatrixKey, 0, 0, u"", u"Kestrivo Data Matrix Solution."},
        {kKindDataMatrixSemi, u"Data Matrix (SEMI)", {FrontEndDataMatrixSEMI, FrontEndDataMatrixSEMI, FrontEndDataMatrixSEMI}, 1, 0, 2, kDataMatrixSemiKey, 0, 0, u"", u"12345678AB"},
        {kKindQRCodeSemi, u"QRCode (SEMI)", {FrontEndQRCodeSEMI, FrontEndQRCodeSEMI, FrontEndQRCodeSEMI}, 1, 0, 2, kQRCodeSemiKey, 0, 0, u"", u"12345678AB"},
        {kKindBC412, u"BC412 (SEMI)", {L<EncodeBC412>, L<EncodeBC412>, L<EncodeBC412>}, 1, 0, 2, kBC412Key, 0, 0, u"", u"KESTRIV0"},
        {kKindCode39Semi, u"Code39 (SEMI)", {L<EncodeCode39>, L<EncodeCode39>, L<EncodeCode39>}, 1, 0, 2, kCode39SemiKey, 0, 0, u"", u"ZR11N9BK6DTX024"},
        {kKindMicroPdf417, u"Micro PDF417", {FrontEndMicroPDF417, FrontEndMicroPDF417, FrontEndMicroPDF417}, 1, 0, 2, kPdf417Key, 0, 0, u"", u"Kestrivo micro PDF417 Solution"},
        {kKindPdf417, u"PDF417", {FrontEndPDF417, FrontEndPDF417, FrontEndPDF417}, 1, 0, 2, kPdf417Key, 0, 0, u"", u"Kestrivo PDF417 Barcode Print Solution"},
        {kKindQRCode, u"QR Code", {FrontEndQRCode, FrontEndQRCode, FrontEndQRCode}, 1, 0, 2, kQRCodeKey, 0, 0, u"", u"Kestrivo QR Code Barcode solution."},
        {kKindMicroQRCode, u"Micro QRCode", {FrontEndMicroQRCode, FrontEndMicroQRCode, FrontEndMicroQRCode}, 1, 0, 2, kQRCodeKey, 0, 0, u"", u"microQRCode"},
        {kKindAztec, u"Aztec", {FrontEndAztec, FrontEndAztec, FrontEndAztec}, 1, 0, 2, kAztecKey, 0, 0, u"", u"Kestrivo Aztec Barcode solution."},
        {kKindSemi, u"SEMI M12", {L<EncodeSemiM12>, L<EncodeSemiM12>, L<EncodeSemiM12>}, 1, 0, 2, kSemiKey, 0, 0, u"", u"12345678AB"},
        {kKindSemi, u"SEMI M13", {L<EncodeSemiM13>, L<EncodeSemiM13>, L<EncodeSemiM13>}, 1, 0, 2, kSemiKey, 0, 0, u"", u"12345678AB11.8B1"},
        {kKindCode16k, u"Code16K", {FrontEndCode16K, FrontEndCode16K, FrontEndCode16K}, 1, 1, 2, kCode16KKey, 0, 1, u"M", u"Kestrivo"},
        {kKindDatabar, u"Databar", {FrontEndDatabar, FrontEndDatabar, FrontEndDatabar}, 1, 1, 2, kDatabarKey, 0, 0, u"S", u"2001234567890"},
        {kKindDatabarTruncatedLimited, u"Databar Truncated", {FrontEndDatabar, FrontEndDatabar, FrontEndDatabar}, 1, 1, 2, kDatabarKey, 0, 0, u"S", u"2001234567890"},
        {kKindDatabarTruncatedLimited, u"Databar Limited", {FrontEndDatabarLimited, FrontEndDatabarLimited, FrontEndDatabarLimited}, 1, 1, 2, kDatabarKey, 0, 0, u"S", u"0031234567890"},
        {kKindDatabarStacked, u"Databar Stacked", {FrontEndDatabarStacked, FrontEndDatabarStacked, FrontEndDatabarStacked}, 1, 1, 2, kDatabarKey, 0, 0, u"S", u"2001234567890"},
        {kKindDatabarStackedOmni, u"Databar Stacked Omni", {FrontEndDatabarStackedOmni, FrontEndDatabarStackedOmni, FrontEndDatabarStackedOmni}, 1, 1, 2, kDatabarKey, 0, 0, u"S", u"2001234567890"},
        {kKindDatabarExpanded, u"Databar Expanded", {FrontEndDatabarExpanded, FrontEndDatabarExpanded, FrontEndDatabarExpanded}, 1, 1, 2, kDatabarKey, 0, 0, u"M", u"(01)90012345678908(3103)001750"},
        {kKindDatabarExpandedStacked, u"Databar Expanded Stacked", {FrontEndDatabarExpandedStacked, FrontEndDatabarExpandedStacked, FrontEndDatabarExpandedStacked}, 1, 1, 2, kDatabarKey, 0, 0, u"M", u"(01)98898765432106(3202)012345(15)991231"},
        {kKindMaxicode, u"Maxicode", {FrontEndMaxicode, FrontEndMaxicode, FrontEndMaxicode}, 1, 1, 2, kMaxicodeKey, 0, 0, u"", u"Kestrivo Maxicode"},
    };
    std::vector<SymbologyAction> table;
    table.reserve(std::size(rows));
    for (const Row& r : rows) {
        table.push_back({r.kind, std::u16string(r.name), {r.encode[0], r.encode[1], r.encode[2]},
                         r.chk, r.a2, r.hr, std::u16string(r.key), r.a4, r.a5,
                         std::u16string(r.sample), 0, std::u16string(r.key) + std::u16string(r.suffix)});
    }
    return table;
}

void CheckSymbologyFonts(std::vector<SymbologyAction>& table, const FontPredicate& installed) {
    for (auto& row : table) row.bFontAvailable = installed(row.szFontFace) ? 1 : 0;
}

namespace {
// Every candidate of the row's list, installed or not.
std::vector<std::u16string> Candidates(const SymbologyAction& row, std::int32_t humanReadable) {
    std::vector<std::u16string> out;
    if (const FixedFamily* family = FixedFamilyOf(row.szFontFamily)) {
        for (auto suffix : family->suffixes) out.push_back(row.szFontFamily + std::u16string(suffix));
        return out;
    }
    const auto& name = row.szDisplayName;
    const bool plainCode128 = humanReadable == 0 &&
        (EqualNoCase(name, u"Code128A") || EqualNoCase(name, u"Code128B") ||
         EqualNoCase(name, u"Code128C") || EqualNoCase(name, u"GS1-128") ||
         EqualNoCase(name, u"USPS-128"));
    const std::u16string base = plainCode128 ? std::u16string(kCode128Key) : row.szFontFamily;
    const bool withHr = humanReadable == 1 && !EqualNoCase(row.szFontFamily, kUpcEanKey) &&
        !EqualNoCase(name, u"GS1-128") && !EqualNoCase(name, u"USPS-128") &&
        !EqualNoCase(name, u"Code16K");
    for (auto suffix : kFontSizeSuffixes)
        out.push_back(base + std::u16string(suffix) + (withHr ? u"Hr" : u""));
    return out;
}
}  // namespace

std::vector<std::u16string> FontFaces(const SymbologyAction& row, std::int32_t humanReadable,
                                      const FontPredicate& installed) {
    std::vector<std::u16string> faces;
    for (auto& face : Candidates(row, humanReadable))
        if (installed(face)) faces.push_back(std::move(face));
    return faces;
}

int SelectFontFace(const std::vector<std::u16string>& faces, const SymbologyAction& row,
                   int keepIndex) {
    if (faces.empty()) return -1;
    const int count = static_cast<int>(faces.size());
    if (keepIndex >= 0) return keepIndex < count ? keepIndex : count - 1;
    const std::u16string prefix = row.szFontFamily + u"M";
    for (int i = 0; i < count; ++i) {
        const auto& face = faces[static_cast<std::size_t>(i)];
        if (face.size() >= prefix.size() &&
            EqualNoCase(std::u16string_view(face).substr(0, prefix.size()), prefix))
            return i;
    }
    return 0;
}

std::vector<std::u16string> AllFontFaces() {
    std::vector<std::u16string> all;
    auto add = [&](const std::u16string& face) {
        for (const auto& f : all)
            if (EqualNoCase(f, face)) return;
        all.push_back(face);
    };
    for (const auto& row : BuildSymbologyTable()) {
        add(row.szFontFace);
        for (std::int32_t hr : {1, 0})
            for (const auto& face : Candidates(row, hr)) add(face);
    }
    return all;
}

const SymbologyAction* FindSymbology(const std::vector<SymbologyAction>& table,
                                     std::u16string_view name) {
    for (const auto& row : table)
        if (EqualNoCase(row.szDisplayName, name)) return &row;
    return nullptr;
}

std::vector<std::u16string> ListedSymbologies(const std::vector<SymbologyAction>& table) {
    std::vector<std::u16string> names;
    for (const auto& row : table)
        if (row.bFontAvailable == 1) names.push_back(row.szDisplayName);
    return names;
}

int SelectDefaultSymbology(Platform& platform, const std::vector<std::u16string>& listed) {
    if (listed.empty()) return -1;
    RegistryString setting(platform, kDefaultSymbologyPath, u"", true);
    const std::u16string stored = setting.Get();
    if (!stored.empty())
        for (std::size_t i = 0; i < listed.size(); ++i)
            if (EqualNoCase(listed[i], stored)) return static_cast<int>(i);
    setting.Set(listed[0]);
    return 0;
}

std::u16string_view EncodeSelectedText(Session& session, const SymbologyAction& row, const std::u16string& text) {
    const EncodeFn fn = row.pfnEncode[session.options.AddChecksum != 0 ? 1 : 0];
    session.platform.SetMessageLine(u"");
    session.linear.clearLoss();
    if (!fn) return {};
    if (text.size() < kInputUnits) return fn(session, text.c_str());
    const std::u16string cut = text.substr(0, kInputUnits - 1);
    const std::u16string_view font = fn(session, cut.c_str());
    session.linear.lose(linear::kLossCut);
    return font;
}

std::u16string EncodeSelected(Session& session, const SymbologyAction& row, std::u16string_view text) {
    return std::u16string(EncodeSelectedText(session, row, std::u16string(text)));
}

}  // namespace desktop
