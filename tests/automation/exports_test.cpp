// The exported encode functions, loaded from the server file as a plain caller would: each
// gives the result of its class method; with the server unregistered each reports the
// failure and leaves the caller's buffer alone; the caller's apartment survives the call.
#include <gtest/gtest.h>

#include <windows.h>
#include <oaidl.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <span>
#include <functional>
#include <type_traits>
#include <string>
#include <thread>
#include <vector>

#include "aztec.h"
#include "datamatrix.h"
#include "error_text.h"
#include "maxicode.h"
#include "micro_qr.h"
#include "micropdf417.h"
#include "pdf417.h"
#include "qrcode.h"
#include "tarnvik.h"

namespace {

// The server file: its path as the build wrote it, seen through Wine's drive for "/".
std::wstring DllPath() {
    std::string path = TARNVIK_DLL_PATH;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return std::wstring(path.begin(), path.end());
}

HMODULE Server() {
    static HMODULE module = LoadLibraryW(DllPath().c_str());
    return module;
}

template <class Fn>
Fn Proc(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(Server(), name)));
}

using Plain = int (*)(const wchar_t*, wchar_t*);
using WithOne = int (*)(const wchar_t*, int, wchar_t*);
using WithTwo = int (*)(const wchar_t*, int, int, wchar_t*);
using WithThree = int (*)(const wchar_t*, int, int, int, wchar_t*);
using WithFive = int (*)(const wchar_t*, int, int, int, int, int, wchar_t*);
using ByReference = int (*)(wchar_t*, wchar_t&);

// One export with its options bound, and the method call it must equal.
struct ExportCase {
    std::string name;
    std::function<int(const wchar_t*, wchar_t*)> call;  // null when the export is missing
    std::function<std::wstring(const std::wstring&)> method;
};

template <class Itf>
Itf* Create(const CLSID& clsid, const IID& iid) {
    Itf* itf = nullptr;
    EXPECT_EQ(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(&itf)),
        S_OK);
    return itf;
}

// The method's result on a new object; `crlf` sets the CRLF flag to 1 first.
template <class Itf, class F>
std::wstring Method(const CLSID& clsid, const IID& iid, bool crlf, const std::wstring& in, F f) {
    Itf* itf = Create<Itf>(clsid, iid);
    if (!itf) return L"<no object>";
    if constexpr (!std::is_same_v<Itf, ILinear>) {
        if (crlf) itf->SetCRLF(1);
    }
    BSTR b = SysAllocString(in.c_str());
    BSTR out = nullptr;
    EXPECT_EQ(f(itf, b, &out), S_OK);
    std::wstring r = out ? std::wstring(out, SysStringLen(out)) : L"<null>";
    SysFreeString(out);
    SysFreeString(b);
    itf->Release();
    return r;
}

std::vector<ExportCase> Cases() {
    std::vector<ExportCase> cases;
    auto plain = [&](const char* name, auto method) {
        Plain p = Proc<Plain>(name);
        cases.push_back(
            {name, p ? std::function<int(const wchar_t*, wchar_t*)>(p) : nullptr, method});
    };
    using LinearMethod = HRESULT (STDMETHODCALLTYPE ILinear::*)(BSTR, BSTR*);
    const std::pair<const char*, LinearMethod> linear[] = {
        {"ZYLCode39", &ILinear::Code39},
        {"ZYLCode39Check", &ILinear::Code39Check},
        {"ZYLCode39Ext", &ILinear::Code39Ext},
        {"ZYLCode11", &ILinear::Code11},
        {"ZYLCode25", &ILinear::Code25},
        {"ZYLCode25Check", &ILinear::Code25Check},
        {"ZYLCode93", &ILinear::Code93},
        {"ZYLMSI", &ILinear::MSI},
        {"ZYLCodabar", &ILinear::Codabar},
        {"ZYLUPCA", &ILinear::UPCA},
        {"ZYLUPCE", &ILinear::UPCE},
        {"ZYLEAN13", &ILinear::EAN13},
        {"ZYLEAN8", &ILinear::EAN8},
        {"ZYLBookland", &ILinear::Bookland},
        {"ZYLCode128B", &ILinear::Code128B},
        {"ZYLTelepen", &ILinear::Telepen},
        {"ZYLTelepenNumeric", &ILinear::TelepenNumeric},
        {"ZYLI25", &ILinear::I25},
        {"ZYLI25Check", &ILinear::I25Check},
        {"ZYLUSPS128", &ILinear::USPS128},
        {"ZYLUCCEAN128", &ILinear::UCCEAN128},
        {"ZYLGS1128", &ILinear::GS1128},
        {"ZYLUSSCode39", &ILinear::USSCode39},
        {"ZYLPOSTNET", &ILinear::POSTNET},
        {"ZYLROYALMAIL", &ILinear::RoyalMail},
        {"ZYLONECODE", &ILinear::IM},
        {"ZYLSEMIM12", &ILinear::SemiM12},
        {"ZYLSEMIM13", &ILinear::SemiM13},
        {"ZYLCode128A", &ILinear::Code128A},
        {"ZYLCode128C", &ILinear::Code128C},
    };
    for (const auto& [name, m] : linear) {
        plain(name, [m = m](const std::wstring& in) {
            return Method<ILinear>(CLSID_CLinear, IID_ILinear, false, in,
                                   [m](ILinear* i, BSTR b, BSTR* o) { return (i->*m)(b, o); });
        });
    }

#define TARNVIK_METHOD(Itf, crlf, expr)                                            \
    [](const std::wstring& in) {                                                   \
        return Method<I##Itf>(CLSID_C##Itf, IID_I##Itf, crlf, in,                  \
                              [](I##Itf* i, BSTR b, BSTR* o) { return i->expr; }); \
    }
    plain("ZYLDataMatrixEncode", TARNVIK_METHOD(Datamatrix, true, Encode(b, o)));
    plain("ZYLPDF417Encode", TARNVIK_METHOD(PDF417, true, Encode(b, o)));
    plain("ZYLQRCodeEncode", TARNVIK_METHOD(QRCode, true, Encode(b, o)));
    plain("ZYLMicroQRCodeEncode", TARNVIK_METHOD(MicroQRCode, true, Encode(b, o)));
    plain("ZYLCode16KEncode", TARNVIK_METHOD(Code16k, false, Encode(b, o)));
    plain("ZYLAztecEncode", TARNVIK_METHOD(Aztec, false, Encode(b, o)));
    plain("ZYLDatabarEncode", TARNVIK_METHOD(Databar, false, Databar14(b, o)));
    plain("ZYLDatabarStackEncode", TARNVIK_METHOD(Databar, false, DatabarStack(b, o)));
    plain("ZYLDatabarStkOmniEncode", TARNVIK_METHOD(Databar, false, DatabarStkOmni(b, o)));
    plain("ZYLDatabarLtdEncode", TARNVIK_METHOD(Databar, false, DatabarLtd(b, o)));
    plain("ZYLDatabarExpEncode", TARNVIK_METHOD(Databar, false, DatabarExp(b, o)));
    plain("ZYLDatabarExpStkEncode", TARNVIK_METHOD(Databar, false, DatabarExpStk(b, o)));

    // The option exports, with options of their own.
    auto bound = [&](const char* name, auto fn, auto bind, auto method) {
        cases.push_back(
            {name, fn ? std::function<int(const wchar_t*, wchar_t*)>(bind) : nullptr, method});
    };
    auto dmOption = Proc<WithThree>("ZYLDataMatrixOption");
    bound(
        "ZYLDataMatrixOption", dmOption,
        [dmOption](const wchar_t* in, wchar_t* out) { return dmOption(in, 12, 0, 0, out); },
        TARNVIK_METHOD(Datamatrix, true, EncodeCR(b, 0, 12, 0, 0, o)));
    bound(
        "ZYLDataMatrixOption GS1", dmOption,
        [dmOption](const wchar_t* in, wchar_t* out) { return dmOption(in, 0, 1, 1, out); },
        TARNVIK_METHOD(Datamatrix, true, EncodeCR(b, 0, 0, 1, 1, o)));
    auto pdfOption = Proc<WithFive>("ZYLPDF417Option");
    bound(
        "ZYLPDF417Option", pdfOption,
        [pdfOption](const wchar_t* in, wchar_t* out) { return pdfOption(in, 10, 3, 5, 2, 1, out); },
        TARNVIK_METHOD(PDF417, true, Encode(b, o)));
    auto qrOption = Proc<WithOne>("ZYLQRCodeOption");
    bound(
        "ZYLQRCodeOption", qrOption,
        [qrOption](const wchar_t* in, wchar_t* out) { return qrOption(in, 2, out); },
        TARNVIK_METHOD(QRCode, true, EncodeCR(b, 0, 2, o)));
    auto aztecOption = Proc<WithTwo>("ZYLAztecOption");
    bound(
        "ZYLAztecOption", aztecOption,
        [aztecOption](const wchar_t* in, wchar_t* out) { return aztecOption(in, 0, 5, out); },
        TARNVIK_METHOD(Aztec, false, EncodeCR(b, 0, 0, 5, o)));
    auto maxicode = Proc<WithOne>("ZYLMaxicodeEncode");
    bound(
        "ZYLMaxicodeEncode", maxicode,
        [maxicode](const wchar_t* in, wchar_t* out) { return maxicode(in, 4, out); },
        TARNVIK_METHOD(Maxicode, false, EncodeCR(b, 0, 4, o)));
    // Exported under its C++ name: the buffer goes by reference to its first character.
    auto micro = Proc<ByReference>("_Z20ZYLPDMicroF417EncodePwRw");
    bound(
        "ZYLPDMicroF417Encode", micro,
        [micro](const wchar_t* in, wchar_t* out) {
            std::wstring copy = in;
            return micro(copy.data(), *out);
        },
        TARNVIK_METHOD(MicroPDF417, true, Encode(b, o)));
#undef TARNVIK_METHOD
    return cases;
}

// Distinct export functions among the cases (the two Data Matrix option cases share one).
constexpr std::size_t kExports = 48;
constexpr wchar_t kUntouched = L'\x2766';
constexpr std::size_t kBuffer = 20000;

class Exports : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Server(), nullptr) << "cannot load the server file";
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    }
    void TearDown() override { CoUninitialize(); }
};

}  // namespace

TEST_F(Exports, EachGivesItsMethodsResult) {
    const std::vector<ExportCase> cases = Cases();
    ASSERT_EQ(cases.size(), kExports + 1);
    const std::wstring inputs[] = {L"",
                                   L"ABC",
                                   L"0123456789012",
                                   L"&#65;bc&#49;",
                                   L"(01)90012345678908(3103)001750",
                                   L"\u00e9\u4e2d",
                                   std::wstring(300, L'7')};
    std::vector<wchar_t> buffer(kBuffer);
    for (const ExportCase& c : cases) {
        ASSERT_TRUE(c.call) << c.name << " is not exported";
        for (const std::wstring& in : inputs) {
            SCOPED_TRACE(c.name + " of " + std::to_string(in.size()) + " characters");
            const std::wstring want = c.method(in);
            std::fill(buffer.begin(), buffer.end(), kUntouched);
            ASSERT_EQ(c.call(in.c_str(), buffer.data()), 1);
            EXPECT_EQ(std::wstring(buffer.data()), want);
            // The text and its NUL, nothing more.
            ASSERT_LT(want.size() + 1, kBuffer);
            EXPECT_EQ(buffer[want.size()], L'\0');
            EXPECT_EQ(buffer[want.size() + 1], kUntouched);
        }
    }
}

TEST_F(Exports, ResultsMatchTheirSymbologies) {
    auto code39 = Proc<Plain>("ZYLCode39");
    auto ussCode39 = Proc<Plain>("ZYLUSSCode39");
    auto databar = Proc<Plain>("ZYLDatabarEncode");
    auto stkOmni = Proc<Plain>("ZYLDatabarStkOmniEncode");
    ASSERT_TRUE(code39 && ussCode39 && databar && stkOmni);
    wchar_t out[1024];
    EXPECT_EQ(code39(L"ABC", out), 1);
    EXPECT_STREQ(out, L"*ABC*");
    // An empty result copies just the NUL.
    std::fill(std::begin(out), std::end(out), kUntouched);
    EXPECT_EQ(ussCode39(L"ABC", out), 1);
    EXPECT_EQ(out[0], L'\0');
    EXPECT_EQ(out[1], kUntouched);
    // DataBar font text ends with " *"; a message does not.
    EXPECT_EQ(databar(L"1234567890123", out), 1);
    const std::wstring text = out;
    ASSERT_GT(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), L" *");
    EXPECT_EQ(databar(L"12A", out), 1);
    EXPECT_STREQ(out, L"Invalid characters in data");
    // A new object's flag: Stacked Omnidirectional keeps LF line ends.
    EXPECT_EQ(stkOmni(L"1234567890123", out), 1);
    EXPECT_NE(std::wstring(out).find(L'\n'), std::wstring::npos);
    EXPECT_EQ(std::wstring(out).find(L'\r'), std::wstring::npos);
    // Data Matrix band lines end with CR LF: the export sets the flag first.
    auto dataMatrix = Proc<Plain>("ZYLDataMatrixEncode");
    ASSERT_TRUE(dataMatrix);
    EXPECT_EQ(dataMatrix(L"ABC123", out), 1);
    const std::wstring bands = out;
    ASSERT_NE(bands.find(L'\n'), std::wstring::npos);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (bands[i] == L'\n') {
            EXPECT_EQ(bands[i - 1], L'\r') << i;
        }
    }
    // A null input is empty text.
    EXPECT_EQ(code39(nullptr, out), 1);
    EXPECT_STREQ(out, L"**");
}

// Every export refuses a null buffer with its error line and 0. ZYLPDMicroF417Encode's
// callers pass a reference to the buffer's first character; a null one arrives as a null
// address, and is refused the same way.
TEST_F(Exports, ANullBufferIsRefused) {
    std::vector<ExportCase> cases = Cases();
    ASSERT_EQ(cases.size(), kExports + 1);
    cases.erase(std::remove_if(cases.begin(), cases.end(),
                               [](const ExportCase& c) { return c.name == "ZYLPDMicroF417Encode"; }),
                cases.end());
    using ByAddress = int (*)(wchar_t*, wchar_t*);
    auto micro = Proc<ByAddress>("_Z20ZYLPDMicroF417EncodePwRw");
    ASSERT_TRUE(micro);
    wchar_t input[] = L"ABC";
    cases.push_back({"ZYLPDMicroF417Encode", [micro, &input](const wchar_t*, wchar_t* out) {
                         return micro(input, out);
                     }, nullptr});
    for (const ExportCase& c : cases) {
        ASSERT_TRUE(c.call) << c.name;
        testing::internal::CaptureStdout();
        EXPECT_EQ(c.call(L"ABC", nullptr), 0) << c.name;
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(printed.rfind("Error: 0x80004003 ", 0), 0u) << c.name << ": " << printed;
    }
}

// The option exports pass options at both ends of the int range to their methods unchanged.
TEST_F(Exports, ExtremeOptionsGiveTheirMethodsResults) {
    auto dmOption = Proc<WithThree>("ZYLDataMatrixOption");
    auto pdfOption = Proc<WithFive>("ZYLPDF417Option");
    auto qrOption = Proc<WithOne>("ZYLQRCodeOption");
    auto aztecOption = Proc<WithTwo>("ZYLAztecOption");
    auto maxicode = Proc<WithOne>("ZYLMaxicodeEncode");
    ASSERT_TRUE(dmOption && pdfOption && qrOption && aztecOption && maxicode);
    const std::wstring in = L"EXTREME 123";
    std::vector<wchar_t> out(kBuffer);
    for (const int v : {INT_MIN, INT_MIN + 1, -1, INT_MAX - 1, INT_MAX}) {
        SCOPED_TRACE(v);
        ASSERT_EQ(dmOption(in.c_str(), v, v, v, out.data()), 1);
        EXPECT_EQ(std::wstring(out.data()),
                  Method<IDatamatrix>(CLSID_CDatamatrix, IID_IDatamatrix, true, in,
                                      [v](IDatamatrix* i, BSTR b, BSTR* o) { return i->EncodeCR(b, 0, v, v, v, o); }));
        ASSERT_EQ(pdfOption(in.c_str(), v, v, v, v, v, out.data()), 1);
        EXPECT_EQ(std::wstring(out.data()),
                  Method<IPDF417>(CLSID_CPDF417, IID_IPDF417, true, in,
                                  [](IPDF417* i, BSTR b, BSTR* o) { return i->Encode(b, o); }));
        ASSERT_EQ(qrOption(in.c_str(), v, out.data()), 1);
        EXPECT_EQ(std::wstring(out.data()),
                  Method<IQRCode>(CLSID_CQRCode, IID_IQRCode, true, in,
                                  [v](IQRCode* i, BSTR b, BSTR* o) { return i->EncodeCR(b, 0, v, o); }));
        ASSERT_EQ(aztecOption(in.c_str(), v, v, out.data()), 1);
        EXPECT_EQ(std::wstring(out.data()),
                  Method<IAztec>(CLSID_CAztec, IID_IAztec, false, in,
                                 [v](IAztec* i, BSTR b, BSTR* o) { return i->EncodeCR(b, 0, v, v, o); }));
        ASSERT_EQ(maxicode(in.c_str(), v, out.data()), 1);
        EXPECT_EQ(std::wstring(out.data()),
                  Method<IMaxicode>(CLSID_CMaxicode, IID_IMaxicode, false, in,
                                    [v](IMaxicode* i, BSTR b, BSTR* o) { return i->EncodeCR(b, 0, v, o); }));
    }
}

// Wine's type-library marshaler looks the library up under language 0 alone, while the
// server registers it under 1033, its own language. Calls from the multithreaded apartment
// reach the apartment-model classes through that marshaler, so for their length the test
// adds the language-neutral entry (harmless where the marshaler finds 1033).
class NeutralTypeLibEntry {
public:
    NeutralTypeLibEntry() {
        const std::wstring base = L"TypeLib\\{F638BFF0-B4A5-4521-B96C-0E630421942B}\\1.0";
        wchar_t path[MAX_PATH] = {};
        DWORD size = sizeof path;
        if (RegGetValueW(HKEY_CLASSES_ROOT, (base + L"\\409\\win64").c_str(), nullptr,
                         RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS)
            return;
        HKEY probe = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (base + L"\\0").c_str(), 0, KEY_READ, &probe) ==
            ERROR_SUCCESS) {
            RegCloseKey(probe);  // there already: leave it
            return;
        }
        key_ = base + L"\\0";
        RegSetKeyValueW(HKEY_CLASSES_ROOT, (key_ + L"\\win64").c_str(), nullptr, REG_SZ, path,
                        static_cast<DWORD>((wcslen(path) + 1) * sizeof(wchar_t)));
    }
    ~NeutralTypeLibEntry() {
        if (!key_.empty()) RegDeleteTreeW(HKEY_CLASSES_ROOT, key_.c_str());
    }
    NeutralTypeLibEntry(const NeutralTypeLibEntry&) = delete;
    NeutralTypeLibEntry& operator=(const NeutralTypeLibEntry&) = delete;

private:
    std::wstring key_;
};

// The caller's apartment is left as it was: a thread in the multithreaded apartment stays in
// it, and a thread without COM is left without it.
// Creating an apartment-model object from the multithreaded apartment leaves the host
// apartment's class object referenced under Wine, so the module stays locked for the rest of
// the process: this test runs in a process of its own (automation_export_apartments).
TEST(ExportApartments, TheCallersApartmentSurvives) {
    ASSERT_TRUE(std::getenv("TARNVIK_APARTMENT_TEST")) << "runs in a process of its own, with TARNVIK_APARTMENT_TEST=1";
    ASSERT_NE(Server(), nullptr);
    auto code39 = Proc<Plain>("ZYLCode39");
    auto databar = Proc<Plain>("ZYLDatabarEncode");
    ASSERT_TRUE(code39 && databar);
    const NeutralTypeLibEntry entry;
    HRESULT first = E_FAIL, again = E_FAIL, created = E_FAIL;
    int result = -1, result2 = -1;
    std::wstring text;
    std::thread mta([&] {
        first = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        wchar_t out[256] = {};
        result = code39(L"ABC", out);
        text = out;
        result2 = databar(L"123", out);
        // Still in the apartment: a further initialisation only counts.
        again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        ILinear* lin = nullptr;
        created = CoCreateInstance(CLSID_CLinear, nullptr, CLSCTX_INPROC_SERVER, IID_ILinear,
                                   reinterpret_cast<void**>(&lin));
        if (lin) lin->Release();
        if (SUCCEEDED(again)) CoUninitialize();
        if (SUCCEEDED(first)) CoUninitialize();
    });
    mta.join();
    EXPECT_EQ(first, S_OK);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(result2, 1);
    EXPECT_EQ(text, L"*ABC*");
    EXPECT_EQ(again, S_FALSE);
    EXPECT_EQ(created, S_OK);

    HRESULT after = E_FAIL;
    std::thread bare([&] {
        wchar_t out[256] = {};
        result = code39(L"XY", out);
        text = out;
        after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // S_OK: nothing was left
        if (SUCCEEDED(after)) CoUninitialize();
    });
    bare.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(text, L"*XY*");
    EXPECT_EQ(after, S_OK);
}

TEST(ExportErrors, MessageTextsAreTheSystemsOrEmpty) {
    const std::wstring known = tarnvik::ErrorMessageText(E_ACCESSDENIED);
    EXPECT_FALSE(known.empty());
    EXPECT_EQ(known.find_first_of(L"\r\n"), std::wstring::npos);
    // A code the system has no text for gives an empty text, not garbage.
    EXPECT_EQ(tarnvik::ErrorMessageText(static_cast<HRESULT>(0xA0F01234)), L"");
}

TEST(Unregistered, ExportsReportTheFailureAndLeaveTheBuffer) {
    ASSERT_NE(Server(), nullptr) << "cannot load the server file";
    const std::vector<ExportCase> cases = Cases();
    ASSERT_EQ(cases.size(), kExports + 1);
    std::vector<wchar_t> buffer(64);
    for (const ExportCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.call) << "not exported";
        std::fill(buffer.begin(), buffer.end(), kUntouched);
        testing::internal::CaptureStdout();
        const int result = c.call(L"123", buffer.data());
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(result, 0);
        // One line: "Error: 0x", eight hex digits of a failure code, a space, the text.
        ASSERT_GE(printed.size(), 19u) << printed;
        EXPECT_EQ(printed.rfind("Error: 0x8", 0), 0u) << printed;
        EXPECT_EQ(printed.find_first_not_of("0123456789abcdef", 9), 17u) << printed;
        EXPECT_EQ(printed[17], ' ') << printed;
        EXPECT_EQ(printed.find('\n'), printed.size() - 1) << printed;
        for (wchar_t w : buffer) EXPECT_EQ(w, kUntouched);
    }
}

namespace {

// The buffer sizes the exports' callers are told to provide, in wide characters with the NUL.
constexpr std::size_t kLinearBuffer = 2048, kDatabarBuffer = 1024, kDataMatrixBuffer = 5257,
                      kQRCodeBuffer = 8056, kMicroQRBuffer = 100, kAztecBuffer = 5815,
                      kPDF417Buffer = 5544, kMicroPDF417Buffer = 1112, kMaxicodeBuffer = 358;

std::size_t FontTextLength(int (*encode)(matrix::SymbolRecord&, const std::string&),
                           const std::string& data) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    EXPECT_LE(encode(*rec, data), matrix::kWarning);
    return std::strlen(rec->fontText);
}

std::span<const std::uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

constexpr matrix::Call kCrLf = matrix::Call::Server(true);

}  // namespace

// The largest symbol of each family, with CR LF line ends, fills its documented buffer
// exactly; messages (at most 99 characters) fit every buffer.
TEST_F(Exports, DocumentedBufferSizesHoldTheLargestResults) {
    EXPECT_EQ(FontTextLength(
                  [](matrix::SymbolRecord& r, const std::string& d) {
                      r.option1 = 1;  // 144 x 144
                      return matrix::EncodeDataMatrix(r, Bytes(d), kCrLf);
                  },
                  std::string(3116, '1')) +
                  1,
              kDataMatrixBuffer);
    EXPECT_EQ(FontTextLength(
                  [](matrix::SymbolRecord& r, const std::string& d) {
                      r.option1 = 1;  // version 40-L
                      return matrix::EncodeQRCode(r, Bytes(d), kCrLf);
                  },
                  std::string(7089, '1')) +
                  1,
              kQRCodeBuffer);
    EXPECT_LT(FontTextLength(
                  [](matrix::SymbolRecord& r, const std::string& d) {
                      r.option1 = 1;  // M4
                      return matrix::EncodeMicroQRCode(r, Bytes(d), kCrLf);
                  },
                  std::string(35, '1')) +
                  1,
              kMicroQRBuffer);
    EXPECT_EQ(FontTextLength(
                  [](matrix::SymbolRecord& r, const std::string& d) {
                      r.option2 = 36;  // 32 layers, 151 x 151
                      return matrix::EncodeAztec(r, Bytes(d), kCrLf);
                  },
                  "1") +
                  1,
              kAztecBuffer);
    EXPECT_EQ(FontTextLength(
                  [](matrix::SymbolRecord& r, const std::string& d) {
                      r.symbology = 20;  // 10 columns of 90 rows: the most bands of the widest rows
                      r.option1 = 8;
                      r.option2 = 10;
                      return matrix::EncodePDF417(r, Bytes(d), kCrLf);
                  },
                  std::string(453, '\xe9')) +
                  1,
              kPDF417Buffer);
    EXPECT_EQ(FontTextLength(
                  [](matrix::SymbolRecord& r, const std::string& d) {
                      r.symbology = 21;  // 4 columns of 44 rows
                      return matrix::EncodeMicroPDF417(r, Bytes(d), kCrLf);
                  },
                  std::string(129, '\xe9')) +
                  1,
              kMicroPDF417Buffer);
    // Maxicode: 11 lines of 15 cells, each one glyph or two, odd lines opened by "[".
    for (const std::string& data :
         {std::string("1"), std::string(100, '9'), std::string(40, '\xff')})
        EXPECT_LE(FontTextLength(
                      [](matrix::SymbolRecord& r, const std::string& d) {
                          r.symbology = 26;
                          r.option1 = 4;
                          return matrix::EncodeMaxicode(r, Bytes(d), kCrLf);
                      },
                      data) +
                      1,
                  kMaxicodeBuffer);
    static_assert(kMaxicodeBuffer == 6 * (15 * 2 + 2) + 5 * (1 + 15 * 2 + 2) + 1);
    EXPECT_LE(sizeof(matrix::SymbolRecord::errorText), kMicroQRBuffer);

    // Through the exports: the linear bound, and DataBar's largest, Expanded Stacked.
    auto code128 = Proc<Plain>("ZYLCode128B");
    auto expStk = Proc<Plain>("ZYLDatabarExpStkEncode");
    ASSERT_TRUE(code128 && expStk);
    std::vector<wchar_t> out(kBuffer);
    ASSERT_EQ(code128(std::wstring(5000, L'a').c_str(), out.data()), 1);
    EXPECT_EQ(std::wcslen(out.data()) + 1, kLinearBuffer);
    ASSERT_EQ(expStk(L"(01)90012345678908(10)ABCDEFGHIJ(21)ABCDEFGHIJKLMNOPQR", out.data()), 1);
    EXPECT_LT(std::wcslen(out.data()) + 1 + 6, kDatabarBuffer);  // 6 rows: room for CR LF
    // The largest two-dimensional symbols through their exports.
    auto qr = Proc<WithOne>("ZYLQRCodeOption");
    auto dm = Proc<Plain>("ZYLDataMatrixEncode");
    ASSERT_TRUE(qr && dm);
    ASSERT_EQ(qr(std::wstring(7089, L'1').c_str(), 0, out.data()), 1);
    EXPECT_EQ(std::wcslen(out.data()) + 1, kQRCodeBuffer);
    ASSERT_EQ(dm(std::wstring(3116, L'1').c_str(), out.data()), 1);
    EXPECT_EQ(std::wcslen(out.data()) + 1, kDataMatrixBuffer);
}
