// The DataBar and Pharmacode classes of the registered server: their input preparation
// against the encoders' own font text, the stacked forms' line ends and pieces, and the
// DataBar symbols drawn from their font text and read back.
#include <gtest/gtest.h>

#include <windows.h>
#include <oaidl.h>

#include <climits>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "databar.h"
#include "matrix/databar_expanded_reader.h"
#include "matrix/databar_font.h"
#include "pharmacode.h"
#include "support/read_back.h"
#include "tarnvik.h"

namespace {

// Symbology numbers of the server build.
enum : int {
    kOmni = 27,
    kLimited = 28,
    kStacked = 29,
    kStackedOmni = 30,
    kExpanded = 31,
    kExpandedStacked = 32,
    kPharmaOne = 51,
    kPharmaTwo = 53
};

// What the encoder itself makes of `data`: its font text, or its message when it fails.
std::wstring EncoderText(int symbology, const std::string& data, bool* ok = nullptr) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    rec->symbology = symbology;
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(data.data()),
                                              data.size());
    const matrix::Call call = matrix::Call::Server(false);
    int result;
    switch (symbology) {
        case kLimited: result = matrix::EncodeDatabarLimited(*rec, bytes, call); break;
        case kExpanded:
        case kExpandedStacked: result = matrix::EncodeDatabarExpanded(*rec, bytes, call); break;
        case kPharmaOne: result = matrix::EncodePharmaOne(*rec, bytes, call); break;
        case kPharmaTwo: result = matrix::EncodePharmaTwo(*rec, bytes, call); break;
        default: result = matrix::EncodeDatabar(*rec, bytes, call); break;
    }
    if (ok) *ok = result <= 0;
    const char* text = result > 0 ? rec->errorText : rec->fontText;
    return std::wstring(text, text + std::strlen(text));
}

// DataBar font text: the encoder's, with " *" after it when it is font text.
std::wstring Suffixed(int symbology, const std::string& data) {
    bool ok = false;
    const std::wstring text = EncoderText(symbology, data, &ok);
    return ok ? text + L" *" : text;
}

std::wstring WithCrLf(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\n') out += L'\r';
        out += c;
    }
    return out;
}

std::wstring W(const std::string& s) { return std::wstring(s.begin(), s.end()); }
std::string N(const std::wstring& s) { return std::string(s.begin(), s.end()); }

// The result of one method call; `in` null passes a null BSTR.
template <class F>
std::wstring Result(F call, const std::wstring* in) {
    BSTR b = in ? SysAllocStringLen(in->data(), static_cast<UINT>(in->size())) : nullptr;
    BSTR out = nullptr;
    EXPECT_EQ(call(b, &out), S_OK);
    std::wstring r = out ? std::wstring(out, SysStringLen(out)) : L"<null>";
    SysFreeString(out);
    SysFreeString(b);
    return r;
}

template <class Itf>
std::wstring Call(Itf* itf, HRESULT (STDMETHODCALLTYPE Itf::*method)(BSTR, BSTR*),
                  const std::wstring& in) {
    return Result([&](BSTR b, BSTR* out) { return (itf->*method)(b, out); }, &in);
}

template <class Itf>
std::wstring CallNull(Itf* itf, HRESULT (STDMETHODCALLTYPE Itf::*method)(BSTR, BSTR*)) {
    return Result([&](BSTR b, BSTR* out) { return (itf->*method)(b, out); }, nullptr);
}

using DatabarMethod = HRESULT (STDMETHODCALLTYPE IDatabar::*)(BSTR, BSTR*);

class DatabarClass : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ASSERT_EQ(CoCreateInstance(CLSID_CDatabar, nullptr, CLSCTX_INPROC_SERVER, IID_IDatabar,
                                   reinterpret_cast<void**>(&db_)),
                  S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_CMedical, nullptr, CLSCTX_INPROC_SERVER, IID_IMedical,
                                   reinterpret_cast<void**>(&med_)),
                  S_OK);
    }
    void TearDown() override {
        if (db_) db_->Release();
        if (med_) med_->Release();
        CoUninitialize();
    }
    std::wstring Db(DatabarMethod m, const std::wstring& in) { return Call(db_, m, in); }
    std::wstring Piece(const std::wstring& in, LONG index) {
        return Result([&](BSTR b, BSTR* out) { return db_->DatabarExpStkCR(b, index, out); }, &in);
    }
    IDatabar* db_ = nullptr;
    IMedical* med_ = nullptr;
};

const struct {
    const char* name;
    DatabarMethod method;
    int symbology;
} kShortForms[] = {
    {"Databar14", &IDatabar::Databar14, kOmni},
    {"DatabarStack", &IDatabar::DatabarStack, kStacked},
    {"DatabarStkOmni", &IDatabar::DatabarStkOmni, kStackedOmni},
    {"DatabarLtd", &IDatabar::DatabarLtd, kLimited},
};

// 74 characters of valid data; six more make it invalid.
const std::string kLong74 =
    "(01)90012345678908(3103)001750(15)991231(10)12345678901234567890(21)123456";
const std::string kLong80 = kLong74 + "(17)99";
// Valid data far beyond 74 characters that still fits the symbol.
const std::string kLongData[] = {
    "(01)90012345678908(3103)001750(15)991231(10)12345678901234567890(21)123456(17)991231",
    "(01)90012345678908(17)261231(11)250101(10)4711(21)88483702(240)12345(30)12(400)1",
    "(01)90012345678908(15)991231(30)1234(10)123456789012345678(21)987654321012345(400)7",
};
// Expanded Stacked data of six rows: 618 characters of font text with LF line ends.
const std::string kSixRows = "(01)90012345678908(10)ABCDEFGHIJ(21)ABCDEFGHIJKLMNOPQR";

}  // namespace

TEST_F(DatabarClass, ShortFormsFillAndCutToThirteenDigits) {
    const struct {
        std::wstring input;
        std::string encoded;
    } cases[] = {
        {L"123", "1230000000000"},  // filled on the right, as written
        {L"12345678901234567890", "1234567890123"},
        {L"&#49;2&#51;", "1230000000000"},  // escapes are decoded first
        {L"", "0000000000000"},
        {L"0000004537077", "0000004537077"},
        {L"1", "1000000000000"},
        {L"12A", "12A0000000000"},            // a message: no suffix
        {L"2001234567890", "2001234567890"},  // out of range for Limited only
    };
    for (const auto& f : kShortForms) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(f.name) + " of " + N(c.input));
            EXPECT_EQ(Db(f.method, c.input), Suffixed(f.symbology, c.encoded));
        }
        EXPECT_EQ(CallNull(db_, f.method), Suffixed(f.symbology, "0000000000000")) << f.name;
    }
    // The suffix belongs to font text only.
    const std::wstring good = Db(&IDatabar::Databar14, L"123");
    ASSERT_GE(good.size(), 3u);
    EXPECT_EQ(good.substr(good.size() - 2), L" *");
    EXPECT_EQ(good.substr(0, good.size() - 2), EncoderText(kOmni, "1230000000000"));
    EXPECT_EQ(Db(&IDatabar::Databar14, L"12A"), L"Invalid characters in data");
    const std::wstring limited = Db(&IDatabar::DatabarLtd, L"2001234567890");
    EXPECT_EQ(limited, EncoderText(kLimited, "2001234567890"));
    EXPECT_NE(limited.substr(limited.size() - 2), L" *");
}

TEST_F(DatabarClass, StackedLineEndsFollowTheFlagTheOtherWayRound) {
    const std::wstring lf = Suffixed(kStackedOmni, "1234567890123");
    ASSERT_NE(lf.find(L'\n'), std::wstring::npos);
    ASSERT_EQ(lf.find(L'\r'), std::wstring::npos);
    const std::wstring crlf = WithCrLf(lf);
    // Flag 1 (the default): the encoder's LF; flag 0: CR LF.
    EXPECT_EQ(Db(&IDatabar::DatabarStkOmni, L"1234567890123"), lf);
    EXPECT_EQ(db_->SetCRLF(0), S_OK);
    EXPECT_EQ(Db(&IDatabar::DatabarStkOmni, L"1234567890123"), crlf);
    // A host's True (-1) sets the flag, as 1 does.
    EXPECT_EQ(db_->SetCRLF(VARIANT_TRUE), S_OK);
    EXPECT_EQ(Db(&IDatabar::DatabarStkOmni, L"1234567890123"), lf);
    db_->SetCRLF(0);
    db_->SetCRLF(1);
    EXPECT_EQ(Db(&IDatabar::DatabarStkOmni, L"1234567890123"), lf);

    // The other forms never read the flag.
    db_->SetCRLF(0);
    EXPECT_EQ(Db(&IDatabar::DatabarExpStk, W(kSixRows)), Suffixed(kExpandedStacked, kSixRows));
    EXPECT_EQ(Db(&IDatabar::DatabarStack, L"1"), Suffixed(kStacked, "1000000000000"));
}

// The Expanded forms encode the whole text: data that fits comes back whole, read from the
// symbol's own bits; data that does not gets the encoder's message, never a symbol of a part.
TEST_F(DatabarClass, ExpandedFormsEncodeTheWholeText) {
    for (const std::string& data : kLongData) {
        SCOPED_TRACE(data);
        ASSERT_GT(data.size(), 74u);
        const std::wstring one = Db(&IDatabar::DatabarExp, W(data));
        ASSERT_EQ(one.substr(one.size() - 2), L" *");
        const auto read = databar_reader::ReadOneRow(N(one.substr(0, one.size() - 2)));
        EXPECT_EQ(read.error, "");
        EXPECT_EQ(read.text, data);
        EXPECT_EQ(one, Suffixed(kExpanded, data));
        std::string stacked = N(Db(&IDatabar::DatabarExpStk, W(data)));
        ASSERT_EQ(stacked.substr(stacked.size() - 2), " *");
        stacked.resize(stacked.size() - 2);
        const auto rows = databar_reader::ReadStacked(stacked);
        EXPECT_EQ(rows.error, "");
        EXPECT_EQ(rows.text, data);
        EXPECT_EQ(Db(&IDatabar::DatabarExpStk, W(data)), Suffixed(kExpandedStacked, data));
        EXPECT_EQ(Piece(W(data), 0), Suffixed(kExpandedStacked, data));
    }
    // Invalid past the 74th character, and too long for the symbol: the messages, whole.
    bool ok = true;
    const std::wstring invalid = EncoderText(kExpanded, kLong80, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(invalid, L"Invalid data length for AI (17)");
    EXPECT_EQ(Db(&IDatabar::DatabarExp, W(kLong80)), invalid);
    EXPECT_EQ(Db(&IDatabar::DatabarExpStk, W(kLong80)), invalid);
    EXPECT_EQ(Piece(W(kLong80), 2), invalid);
    const std::string tooLong = kLongData[0] + "(10)1234";
    for (const std::wstring& result : {Db(&IDatabar::DatabarExp, W(tooLong)),
                                       Db(&IDatabar::DatabarExpStk, W(tooLong)), Piece(W(tooLong), 1)})
        EXPECT_EQ(result, L"Input too long");
    // A million characters: the message, at once.
    const std::string huge = "(10)" + std::string(1000000, 'A');
    EXPECT_EQ(Db(&IDatabar::DatabarExp, W(huge)), EncoderText(kExpanded, huge));
    // Escapes are decoded first; no padding.
    EXPECT_EQ(Db(&IDatabar::DatabarExp, L"&#40;01)90012345678908"),
              Suffixed(kExpanded, "(01)90012345678908"));
    EXPECT_EQ(Db(&IDatabar::DatabarExp, L"(01)123"), EncoderText(kExpanded, "(01)123"));
    EXPECT_EQ(CallNull(db_, &IDatabar::DatabarExp), EncoderText(kExpanded, ""));
}

TEST_F(DatabarClass, ExpandedStackedPiecesEachEndWithTheSuffix) {
    const std::wstring lf = EncoderText(kExpandedStacked, kSixRows);
    ASSERT_EQ(lf.size(), 618u);
    EXPECT_EQ(Piece(W(kSixRows), 0), lf + L" *");
    EXPECT_EQ(Piece(W(kSixRows), 1), lf.substr(0, 250) + L" *");
    db_->SetCRLF(0);
    const std::wstring text = WithCrLf(lf);
    EXPECT_EQ(Piece(W(kSixRows), 0), text + L" *");
    const std::wstring p1 = Piece(W(kSixRows), 1);
    EXPECT_EQ(p1.size(), 252u);
    EXPECT_EQ(p1, text.substr(0, 250) + L" *");
    EXPECT_EQ(Piece(W(kSixRows), 2), text.substr(250, 250) + L" *");
    EXPECT_EQ(Piece(W(kSixRows), 3), text.substr(500) + L" *");
    EXPECT_EQ(Piece(W(kSixRows), 4), L" *");
    EXPECT_EQ(Piece(W(kSixRows), -5), p1);
    EXPECT_EQ(Piece(W(kSixRows), INT_MIN), p1);
    EXPECT_EQ(Piece(W(kSixRows), INT_MAX), L" *");
    // A message comes back whole, whatever the index.
    const std::wstring message = EncoderText(kExpandedStacked, "(01)123");
    for (LONG index : {0, 1, 2, 7}) EXPECT_EQ(Piece(L"(01)123", index), message) << index;
}

TEST_F(DatabarClass, PharmacodeTakesTheTextAsItIs) {
    using MedicalMethod = HRESULT (STDMETHODCALLTYPE IMedical::*)(BSTR, BSTR*);
    const struct {
        MedicalMethod method;
        int symbology;
    } forms[] = {{&IMedical::Pharmaone, kPharmaOne}, {&IMedical::Pharmatwo, kPharmaTwo}};
    for (const auto& f : forms) {
        SCOPED_TRACE(f.symbology);
        for (const std::string in :
             {"123", "3", "2", "131070", "131071", "64570080", "", "12a", "&#49;23"}) {
            EXPECT_EQ(Call(med_, f.method, W(in)), EncoderText(f.symbology, in)) << in;
        }
        EXPECT_EQ(CallNull(med_, f.method), EncoderText(f.symbology, ""));
        // Text the ANSI code page cannot hold becomes "?"; text past 2,047 bytes is cut.
        EXPECT_EQ(Call(med_, f.method, L"1\u4e2d"), EncoderText(f.symbology, "1?"));
        EXPECT_EQ(Call(med_, f.method, std::wstring(5000, L'7')),
                  EncoderText(f.symbology, std::string(2047, '7')));
        // A million characters are cut before they are converted, and answered at once.
        EXPECT_EQ(Call(med_, f.method, std::wstring(1000000, L'7')),
                  EncoderText(f.symbology, std::string(2047, '7')));
        // The flag is stored only.
        EXPECT_EQ(med_->SetCRLF(0), S_OK);
        EXPECT_EQ(Call(med_, f.method, L"123"), EncoderText(f.symbology, "123"));
        med_->SetCRLF(1);
    }
    // No escape decoding: the escape's own characters reach the encoder.
    EXPECT_NE(Call(med_, &IMedical::Pharmaone, L"&#49;23"),
              Call(med_, &IMedical::Pharmaone, L"123"));
}

TEST_F(DatabarClass, NullResultPointersAreRefused) {
    BSTR in = SysAllocString(L"123");
    EXPECT_EQ(db_->Databar14(in, nullptr), E_POINTER);
    EXPECT_EQ(db_->DatabarExpStkCR(in, 1, nullptr), E_POINTER);
    EXPECT_EQ(med_->Pharmaone(in, nullptr), E_POINTER);
    SysFreeString(in);
}

namespace {

std::string Gtin14(const std::string& thirteen) {
    int sum = 0;
    for (int i = 0; i < 13; ++i) sum += (thirteen[i] - '0') * (i % 2 == 0 ? 3 : 1);
    return thirteen + static_cast<char>('0' + (10 - sum % 10) % 10);
}

// The font text without its suffix and CRs, as the font draws it.
std::string Drawn(const std::wstring& result) {
    std::string s;
    for (wchar_t c : result)
        if (c != L'\r') s += static_cast<char>(c);
    if (s.size() >= 2 && s.compare(s.size() - 2, 2, " *") == 0) s.resize(s.size() - 2);
    return s;
}

testing_support::Image Render(const databar_font::Rows& rows) {
    std::vector<int> px;
    for (int h : rows.heights) px.push_back(h * 2);
    return testing_support::RenderRows(rows.rows, px, 2, 12);
}

}  // namespace

TEST_F(DatabarClass, SymbolsReadBackThroughTheFont) {
    testing_support::ReadBackBatch batch;
    auto add = [&](const std::string& label, const std::optional<databar_font::Rows>& rows,
                   const char* format, bool pure, const std::string& expected) {
        ASSERT_TRUE(rows.has_value()) << label;
        batch.Add(label, Render(*rows), format, pure, expected);
    };
    for (const std::string data :
         {"123", "0000004537077", "2001234567890", "9999999999999", "0031234567890"}) {
        const std::string gtin = Gtin14(data + std::string(13 - data.size(), '0'));
        const std::string omni = Drawn(Db(&IDatabar::Databar14, W(data)));
        auto m = databar_font::ElementsToModules(omni, 'a');
        add("Databar14 " + data, m ? std::optional(databar_font::Rows{{*m}, {33}}) : std::nullopt,
            "DataBar", false, gtin);
        add("DatabarStack " + data,
            databar_font::StackedToRows(Drawn(Db(&IDatabar::DatabarStack, W(data)))), "DataBar",
            true, gtin);
        for (VARIANT_BOOL flag : {VARIANT_BOOL(1), VARIANT_BOOL(0)}) {
            db_->SetCRLF(flag);
            add("DatabarStkOmni " + data,
                databar_font::LinesToRows(Drawn(Db(&IDatabar::DatabarStkOmni, W(data))), 33),
                "DataBar", true, gtin);
        }
    }
    db_->SetCRLF(0);
    for (const std::string& data : {std::string("(01)90012345678908(3103)001750"),
                                    std::string("(01)98898765432106(3202)012345(15)991231"),
                                    std::string("(10)ABC123"), kLong74, kLongData[1], kSixRows}) {
        const std::string one = Drawn(Db(&IDatabar::DatabarExp, W(data)));
        auto m = databar_font::ElementsToModules(one, 'A');
        add("DatabarExp " + data, m ? std::optional(databar_font::Rows{{*m}, {34}}) : std::nullopt,
            "DataBarExpanded", false, data);
        add("DatabarExpStk " + data,
            databar_font::LinesToRows(Drawn(Db(&IDatabar::DatabarExpStk, W(data))), 34),
            "DataBarExpanded", true, data);
        // The pieces, each without its suffix, give the symbol back.
        std::string pieces;
        for (LONG i = 1; i <= 4; ++i) pieces += Drawn(Piece(W(data), i));
        add("DatabarExpStkCR pieces " + data, databar_font::LinesToRows(pieces, 34),
            "DataBarExpanded", true, data);
    }
    EXPECT_TRUE(batch.Write("readback/databar"));
}

TEST_F(DatabarClass, DispatchNamesAndNamedArguments) {
    IDispatch* med = nullptr;
    IDispatch* db = nullptr;
    ASSERT_EQ(med_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&med)), S_OK);
    ASSERT_EQ(db_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&db)), S_OK);
    auto ids = [](IDispatch* d, std::vector<const wchar_t*> names, std::vector<DISPID>& out) {
        out.assign(names.size(), 12345);
        return d->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(names.data()),
                                static_cast<UINT>(names.size()), 1033, out.data());
    };
    std::vector<DISPID> got;
    EXPECT_EQ(ids(med, {L"PHARMATWO", L"strToEncode", L"strOutput"}, got), S_OK);
    EXPECT_EQ(got, (std::vector<DISPID>{2, 0, 1}));
    EXPECT_EQ(ids(med, {L"setcrlf", L"nOption"}, got), S_OK);
    EXPECT_EQ(got, (std::vector<DISPID>{3, 0}));
    EXPECT_EQ(ids(db, {L"DatabarExpStkCR", L"databarltd"}, got), S_OK);
    EXPECT_EQ(got, (std::vector<DISPID>{8, 5}));
    // The DataBar class has no parameter names.
    EXPECT_EQ(ids(db, {L"Databar14", L"strToEncode"}, got), DISP_E_UNKNOWNNAME);

    // Pharmaone with its text passed by name.
    VARIANT arg, result;
    VariantInit(&arg);
    VariantInit(&result);
    arg.vt = VT_BSTR;
    arg.bstrVal = SysAllocString(L"123");
    DISPID named = 0;
    DISPPARAMS params = {&arg, &named, 1, 1};
    EXPECT_EQ(med->Invoke(1, IID_NULL, 1033, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
              S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(result.bstrVal), EncoderText(kPharmaOne, "123"));
    VariantClear(&result);
    // The piece index given as text converts.
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    args[0].vt = VT_BSTR;
    args[0].bstrVal = SysAllocString(L"2");
    args[1].vt = VT_BSTR;
    args[1].bstrVal = SysAllocString(W(kSixRows).c_str());
    DISPPARAMS two = {args, nullptr, 2, 0};
    EXPECT_EQ(db->Invoke(8, IID_NULL, 1033, DISPATCH_METHOD, &two, &result, nullptr, nullptr),
              S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(result.bstrVal), Piece(W(kSixRows), 2));
    VariantClear(&result);
    VariantClear(&args[0]);
    VariantClear(&args[1]);
    VariantClear(&arg);
    med->Release();
    db->Release();
}
