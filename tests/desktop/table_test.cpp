// The symbology table as the program ships it, and the face lists offered over installed
// and missing faces.
#include <gtest/gtest.h>

#include <set>

#include "desktop/fake_platform.h"
#include "registry.h"
#include "symbology_table.h"

using namespace desktop;

namespace {

const std::vector<SymbologyAction>& Table() {
    static const auto table = BuildSymbologyTable();
    return table;
}

const SymbologyAction& Row(int number) { return Table()[static_cast<std::size_t>(number - 1)]; }

FontPredicate Installed(std::set<std::u16string> faces) {
    return [faces = std::move(faces)](std::u16string_view f) { return faces.count(std::u16string(f)) > 0; };
}

const FontPredicate kEverything = [](std::u16string_view) { return true; };

}  // namespace

TEST(SymbologyTable, RowsNamesKindsAndModes) {
    const auto& t = Table();
    ASSERT_EQ(t.size(), 53u);
    const char16_t* names[53] = {
        u"Code 39", u"Code 39 Extended", u"USS Code 39", u"Code 93", u"UPC-A", u"UPC-E", u"EAN-13",
        u"EAN-8", u"Bookland", u"Code128A", u"Asian-Code128A", u"Code128B", u"Asian-Code128B",
        u"Code128C", u"Asian-Code128C", u"GS1-128", u"USPS-128", u"Codabar", u"Pharma One",
        u"Pharma Two", u"Interleaved 2 of 5", u"Master Carton Code", u"Code 25", u"Code 11",
        u"MSI/Plessey", u"Postnet", u"Planet", u"Telepen", u"Telepen Numeric", u"Intelligent Mail",
        u"Royal Mail", u"Royal Mail CMDM", u"Data Matrix", u"Data Matrix (SEMI)", u"QRCode (SEMI)",
        u"BC412 (SEMI)", u"Code39 (SEMI)", u"Micro PDF417", u"PDF417", u"QR Code", u"Micro QRCode",
        u"Aztec", u"SEMI M12", u"SEMI M13", u"Code16K", u"Databar", u"Databar Truncated",
        u"Databar Limited", u"Databar Stacked", u"Databar Stacked Omni", u"Databar Expanded",
        u"Databar Expanded Stacked", u"Maxicode"};
    const int kinds[53] = {0, 0, 0, 1, 2, 2, 2, 2, 2, 3, 4, 3, 4, 3, 4, 3, 3, 5, 17, 18, 6, 7, 8, 9, 10, 11, 11,
                           12, 13, 14, 15, 16, 19, 20, 21, 22, 23, 25, 24, 27, 28, 29, 43, 43, 26, 31, 32,
                           32, 33, 34, 35, 36, 30};
    // Checksum mode, A2, Human Readable mode, A4, A5 of rows 1 to 29; rows 30 on are 1,0,2 or 1,1,2.
    const int modes[29][5] = {{4, 4, 3, 0, 0}, {2, 1, 3, 0, 0}, {3, 4, 3, 0, 0}, {1, 1, 3, 0, 0},
                              {1, 0, 1, 0, 1}, {1, 0, 1, 0, 1}, {1, 0, 1, 0, 1}, {1, 0, 1, 0, 1},
                              {1, 0, 1, 0, 1}, {4, 1, 3, 0, 1}, {1, 1, 3, 0, 1}, {4, 1, 3, 0, 1},
                              {1, 1, 3, 0, 1}, {4, 1, 3, 0, 1}, {1, 1, 3, 0, 1}, {1, 1, 2, 0, 1},
                              {1, 1, 2, 0, 1}, {2, 0, 3, 0, 1}, {2, 0, 4, 0, 1}, {2, 0, 4, 0, 1},
                              {4, 0, 3, 0, 1}, {1, 0, 1, 0, 1}, {4, 0, 3, 0, 1}, {1, 0, 3, 0, 1},
                              {1, 0, 3, 0, 1}, {1, 0, 2, 3, 0}, {1, 0, 2, 3, 0}, {1, 0, 3, 0, 0},
                              {1, 0, 3, 0, 0}};
    for (int i = 0; i < 53; ++i) {
        const auto& r = t[static_cast<std::size_t>(i)];
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(r.szDisplayName, names[i]);
        EXPECT_EQ(r.nSymbologyKind, static_cast<std::uint32_t>(kinds[i]));
        EXPECT_EQ(r.bFontAvailable, 0u);
        EXPECT_LT(r.szDisplayName.size(), kDisplayNameUnits);
        EXPECT_LT(r.szFontFamily.size(), kFontFamilyUnits);
        EXPECT_LT(r.szSampleData.size(), kSampleDataUnits);
        EXPECT_LT(r.szFontFace.size(), 32u);  // fits a font description's face name
        EXPECT_NE(r.pfnEncode[0], nullptr);
        EXPECT_NE(r.pfnEncode[1], nullptr);
        if (i < 29) {
            EXPECT_EQ(r.nAttr1, modes[i][0]);
            EXPECT_EQ(r.nAttr2, modes[i][1]);
            EXPECT_EQ(r.nAttr3, modes[i][2]);
            EXPECT_EQ(r.nAttr4, modes[i][3]);
            EXPECT_EQ(r.nAttr5, modes[i][4]);
        } else {
            EXPECT_EQ(r.nAttr1, 1);
            EXPECT_EQ(r.nAttr2, i + 1 == 45 || i + 1 >= 46 ? 1 : 0);
            EXPECT_EQ(r.nAttr3, 2);
            EXPECT_EQ(r.nAttr4, 0);
            EXPECT_EQ(r.nAttr5, i + 1 == 45 ? 1 : 0);
        }
        EXPECT_EQ(FindSymbology(t, r.szDisplayName), &r);  // names are unique; kind 32 has two rows
    }
    // Routines: the checksum routine differs where the Checksum box can change the symbol.
    for (int n : {1, 10, 12, 14, 21, 23}) EXPECT_NE(Row(n).pfnEncode[0], Row(n).pfnEncode[1]) << n;
    for (int n : {21, 22, 23, 25, 26, 27}) EXPECT_EQ(Row(n).pfnEncode[2], nullptr) << n;
    EXPECT_EQ(Row(22).pfnEncode[0], Row(21).pfnEncode[1]);  // Master Carton is I 2/5 with check
    EXPECT_EQ(FindSymbology(t, u"databar TRUNCATED"), &Row(47));
    EXPECT_EQ(FindSymbology(t, u"Code 3"), nullptr);
}

// The row samples themselves are checked by samples_test.cpp, encoded and read back.
TEST(SymbologyTable, CmdmSampleFillsTheSampleField) {
    const auto& cmdm = Row(32).szSampleData;
    EXPECT_EQ(cmdm.size(), 199u);
    EXPECT_EQ(cmdm.substr(0, 24), u"JGB 6201120B012722900021");
    EXPECT_EQ(cmdm.substr(157, 16), u"0123456789ABCDEF");
    EXPECT_EQ(cmdm.find_last_not_of(u' '), 172u);
}

TEST(SymbologyTable, FamilyKeysAndDefaultFaces) {
    std::set<std::u16string> keys;
    for (const auto& r : Table()) keys.insert(r.szFontFamily);
    EXPECT_EQ(keys.size(), 38u);
    // Shared keys: rows 1 and 3, 5 to 9, 16 and 17, 38/39, 40/41, 43/44, 46 to 52.
    EXPECT_EQ(Row(3).szFontFamily, Row(1).szFontFamily);
    for (auto [a, b] : {std::pair{5, 9}, {16, 17}, {38, 39}, {40, 41}, {43, 44}, {46, 52}})
        for (int n = a; n <= b; ++n) EXPECT_EQ(Row(n).szFontFamily, Row(a).szFontFamily) << n;
    // Rows 1, 46 and 53: by the availability test below.
    EXPECT_EQ(Row(5).szFontFace, u"KVUpcEanM");
    EXPECT_EQ(Row(16).szFontFace, u"KVCode128M");
    EXPECT_EQ(Row(19).szFontFace, u"KVPharma");
    EXPECT_EQ(Row(20).szFontFace, u"KVPharmaTwoL");
    EXPECT_EQ(Row(22).szFontFace, u"KVCarton");
    EXPECT_EQ(Row(43).szFontFace, u"KVSemi");
    EXPECT_EQ(Row(45).szFontFace, u"KVCode16KM");
    EXPECT_EQ(Row(51).szFontFace, u"KVDatabarM");
}

TEST(SymbologyTable, FontAvailability) {
    auto t = BuildSymbologyTable();
    CheckSymbologyFonts(t, kEverything);
    for (const auto& r : t) EXPECT_EQ(r.bFontAvailable, 1u);
    CheckSymbologyFonts(t, Installed({u"KVCode39MHr", u"KVDatabarS"}));
    std::vector<int> listed;
    for (std::size_t i = 0; i < t.size(); ++i)
        if (t[i].bFontAvailable) listed.push_back(static_cast<int>(i + 1));
    EXPECT_EQ(listed, (std::vector<int>{1, 3, 46, 47, 48, 49, 50}));
    // The presence test is the platform's.
    desktop_testing::FakePlatform p;
    p.faces = {u"KVMaxicode"};
    CheckSymbologyFonts(t, [&](std::u16string_view f) { return p.IsFontInstalled(f); });
    EXPECT_EQ(t[52].bFontAvailable, 1u);
    EXPECT_EQ(t[0].bFontAvailable, 0u);
}

TEST(FontFaces, ComposedFamilies) {
    // Everything installed: seven sizes, "Hr" by the Human Readable box.
    auto faces = FontFaces(Row(1), 1, kEverything);
    EXPECT_EQ(faces, (std::vector<std::u16string>{u"KVCode39XXLHr", u"KVCode39XLHr", u"KVCode39LHr",
                                                   u"KVCode39MHr", u"KVCode39SHr", u"KVCode39XSHr",
                                                   u"KVCode39XXSHr"}));
    EXPECT_EQ(SelectFontFace(faces, Row(1), -1), 3);
    EXPECT_EQ(FontFaces(Row(1), 0, kEverything)[0], u"KVCode39XXL");
    // UPC/EAN, GS1-128, USPS-128 and Code16K never take "Hr".
    for (int n : {5, 9, 16, 17, 45}) EXPECT_EQ(FontFaces(Row(n), 1, kEverything)[3], Row(n).szFontFace) << n;
    // Code 128 A, B, C without human-readable text use the plain Code 128 faces.
    for (int n : {10, 12, 14}) {
        EXPECT_EQ(FontFaces(Row(n), 0, kEverything), FontFaces(Row(16), 0, kEverything)) << n;
        EXPECT_EQ(FontFaces(Row(n), 1, kEverything)[0], Row(n).szFontFamily + u"XXLHr");
    }
    // Asian Code 128 keeps its own faces either way.
    EXPECT_EQ(FontFaces(Row(11), 0, kEverything)[0], u"KVAsianCode128AXXL");
    // A font set of the default face alone: that face while the box matches it, else none.
    for (int n = 1; n <= 53; ++n) {
        const auto& r = Row(n);
        const auto only = Installed({r.szFontFace});
        const bool hr = r.szFontFace.ends_with(u"Hr");
        const auto faces1 = FontFaces(r, hr ? 1 : 0, only);
        ASSERT_EQ(faces1.size(), 1u) << n;
        EXPECT_EQ(faces1[0], r.szFontFace);
        EXPECT_EQ(SelectFontFace(faces1, r, -1), 0);
    }
    EXPECT_TRUE(FontFaces(Row(1), 0, Installed({u"KVCode39MHr"})).empty());
    EXPECT_EQ(SelectFontFace({}, Row(1), -1), -1);
    EXPECT_EQ(SelectFontFace({}, Row(1), 2), -1);
}

TEST(FontFaces, FixedFamiliesAndSelection) {
    for (int n = 46; n <= 52; ++n) {
        const auto faces = FontFaces(Row(n), n % 2, kEverything);
        EXPECT_EQ(faces, (std::vector<std::u16string>{u"KVDatabarS", u"KVDatabarM", u"KVDatabarL"}));
        EXPECT_EQ(SelectFontFace(faces, Row(n), -1), 1);
    }
    EXPECT_EQ(FontFaces(Row(20), 1, kEverything), (std::vector<std::u16string>{u"KVPharmaTwoL", u"KVPharmaTwoS"}));
    EXPECT_EQ(FontFaces(Row(43), 0, kEverything), (std::vector<std::u16string>{u"KVSemi", u"KVSemiB"}));
    EXPECT_EQ(FontFaces(Row(22), 0, kEverything), (std::vector<std::u16string>{u"KVCartonHr", u"KVCarton"}));
    for (int n : {19, 26, 27, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 53})
        EXPECT_EQ(FontFaces(Row(n), 1, kEverything), std::vector<std::u16string>{Row(n).szFontFamily}) << n;
    // Missing faces are left out; no "M" face: entry 0.
    const auto some = FontFaces(Row(46), 1, Installed({u"KVDatabarL", u"KVDatabarS"}));
    EXPECT_EQ(some, (std::vector<std::u16string>{u"KVDatabarS", u"KVDatabarL"}));
    EXPECT_EQ(SelectFontFace(some, Row(46), -1), 0);
    // Keeping a position: the same index, or the last entry of a shorter list.
    EXPECT_EQ(SelectFontFace(some, Row(46), 1), 1);
    EXPECT_EQ(SelectFontFace(some, Row(46), 5), 1);
    EXPECT_EQ(SelectFontFace(some, Row(46), 0), 0);
    // The "M" search is a prefix search without regard to case.
    const std::vector<std::u16string> mixed = {u"KVCODE39XL", u"kvcode39mhr"};
    EXPECT_EQ(SelectFontFace(mixed, Row(1), -1), 1);
}

TEST(FontFaces, EveryFaceTheProgramCanAskFor) {
    const auto all = AllFontFaces();
    std::set<std::u16string> unique(all.begin(), all.end());
    EXPECT_EQ(unique.size(), all.size());
    // Every default face and every candidate of every row, with either box state, is listed.
    std::set<std::u16string> asked;
    const FontPredicate record = [&](std::u16string_view f) { asked.emplace(f); return false; };
    for (const auto& r : Table()) {
        asked.insert(r.szFontFace);
        FontFaces(r, 0, record);
        FontFaces(r, 1, record);
    }
    EXPECT_EQ(unique, asked);
    for (const auto& f : all) EXPECT_LT(f.size(), 32u);
    EXPECT_TRUE(unique.count(u"KVSemiB"));
    EXPECT_TRUE(unique.count(u"KVCartonHr"));
    EXPECT_TRUE(unique.count(u"KVCode128XXS"));
    EXPECT_FALSE(unique.count(u"KVCode128XXSHr"));
    EXPECT_FALSE(unique.count(u"KVUpcEanMHr"));
    // Composed: 13 families with and without "Hr" (182), Code 128 A, B, C with "Hr" only (21),
    // plain Code 128, UPC/EAN and Code 16K without (21); fixed lists: 24 faces.
    EXPECT_EQ(all.size(), 248u);
}

TEST(DefaultSymbology, StoredNameSelectsItsRowOrTheFirstIsStored) {
    auto t = BuildSymbologyTable();
    CheckSymbologyFonts(t, Installed({u"KVCode93MHr", u"KVAztec", u"KVQRCode"}));
    const auto listed = ListedSymbologies(t);
    EXPECT_EQ(listed, (std::vector<std::u16string>{u"Code 93", u"QR Code", u"Micro QRCode", u"Aztec"}));
    desktop_testing::FakePlatform p;
    // Nothing stored: the first listed row, and its name is stored.
    EXPECT_EQ(SelectDefaultSymbology(p, listed), 0);
    EXPECT_EQ(StringSetting(p.stored), u"Code 93");
    // A name equal up to case selects its row and is not rewritten.
    p.WriteRegistryString(u"Software\\Kestrivo", u"DefaultSymbology", u"aZTEC");
    p.writes = 0;
    EXPECT_EQ(SelectDefaultSymbology(p, listed), 3);
    EXPECT_EQ(p.writes, 0);
    // A row whose font is missing is not listed: overwritten with the first listed name.
    p.WriteRegistryString(u"Software\\Kestrivo", u"DefaultSymbology", u"Maxicode");
    EXPECT_EQ(SelectDefaultSymbology(p, listed), 0);
    EXPECT_EQ(StringSetting(p.stored), u"Code 93");
    // A value of another type counts as nothing stored; a failed write changes nothing.
    p.stored.type = 3;
    p.failWrites = true;
    EXPECT_EQ(SelectDefaultSymbology(p, listed), 0);
    EXPECT_EQ(SelectDefaultSymbology(p, {}), -1);
}
