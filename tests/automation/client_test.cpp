// A client of the registered Tarnvik server: creation, interfaces, aggregation, lifetime, the
// linear class against the encoders, and the dispatch rules through IDispatch.
#include <gtest/gtest.h>

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "entry.h"
#include "pieces.h"
#include "support/linear_fonts.h"
#include "support/read_back.h"
#include "tarnvik.h"
#include "text.h"

namespace {

struct ClassRow {
    const wchar_t* name;
    const CLSID* clsid;
    const IID* iid;
};

const ClassRow kClasses[] = {
    {L"Linear", &CLSID_CLinear, &IID_ILinear},
    {L"Datamatrix", &CLSID_CDatamatrix, &IID_IDatamatrix},
    {L"PDF417", &CLSID_CPDF417, &IID_IPDF417},
    {L"MicroPDF417", &CLSID_CMicroPDF417, &IID_IMicroPDF417},
    {L"QRCode", &CLSID_CQRCode, &IID_IQRCode},
    {L"MicroQRCode", &CLSID_CMicroQRCode, &IID_IMicroQRCode},
    {L"Aztec", &CLSID_CAztec, &IID_IAztec},
    {L"Maxicode", &CLSID_CMaxicode, &IID_IMaxicode},
    {L"Code16k", &CLSID_CCode16k, &IID_ICode16k},
    {L"Databar", &CLSID_CDatabar, &IID_IDatabar},
    {L"Medical", &CLSID_CMedical, &IID_IMedical},
};

const wchar_t kLibId[] = L"{F638BFF0-B4A5-4521-B96C-0E630421942B}";

std::wstring Guid(const GUID& g) {
    wchar_t t[40] = {};
    StringFromGUID2(g, t, 40);
    return t;
}

// The default value (name null) or a named value of a key under HKEY_CLASSES_ROOT; "<none>"
// when the key or value is missing.
std::wstring RegText(const std::wstring& key, const wchar_t* name = nullptr) {
    wchar_t buf[1024] = {};
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buf, &size) !=
        ERROR_SUCCESS)
        return L"<none>";
    return buf;
}

bool KeyExists(const std::wstring& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

class ComTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

std::wstring ServerPath() { return RegText(L"CLSID\\" + Guid(CLSID_CLinear) + L"\\InprocServer32"); }

// ------------------------------------------------------------------------------------------
// Registration

TEST(Registration, EveryClassKeyAndValue) {
    const std::wstring path = ServerPath();
    ASSERT_NE(path, L"<none>");
    EXPECT_NE(path.find(L"Tarnvik.dll"), std::wstring::npos) << path;
    for (const ClassRow& c : kClasses) {
        SCOPED_TRACE(c.name);
        const std::wstring friendly = std::wstring(L"C") + c.name + L" Object";
        const std::wstring p = std::wstring(L"Tarnvik.") + c.name;
        const std::wstring clsid = Guid(*c.clsid);
        const std::wstring key = L"CLSID\\" + clsid;
        EXPECT_EQ(RegText(p + L".1"), friendly);
        EXPECT_EQ(RegText(p + L".1\\CLSID"), clsid);
        EXPECT_EQ(RegText(p), friendly);
        EXPECT_EQ(RegText(p + L"\\CLSID"), clsid);
        EXPECT_EQ(RegText(p + L"\\CurVer"), p + L".1");
        EXPECT_EQ(RegText(key), friendly);
        EXPECT_EQ(RegText(key, L"AppID"), kLibId);
        EXPECT_EQ(RegText(key + L"\\ProgID"), p + L".1");
        EXPECT_EQ(RegText(key + L"\\VersionIndependentProgID"), p);
        EXPECT_TRUE(KeyExists(key + L"\\Programmable"));
        EXPECT_EQ(RegText(key + L"\\InprocServer32"), path);
        EXPECT_EQ(RegText(key + L"\\InprocServer32", L"ThreadingModel"), L"apartment");
        EXPECT_EQ(RegText(key + L"\\TypeLib"), kLibId);
        // The type library's registration of the dual interface.
        const std::wstring itf = L"Interface\\" + Guid(*c.iid);
        EXPECT_EQ(RegText(itf), std::wstring(L"I") + c.name);
        EXPECT_EQ(RegText(itf + L"\\TypeLib"), kLibId);
    }
    EXPECT_EQ(RegText(std::wstring(L"AppID\\") + kLibId), L"Tarnvik");
    EXPECT_EQ(RegText(L"AppID\\Tarnvik.DLL", L"AppID"), kLibId);
    const std::wstring lib = std::wstring(L"TypeLib\\") + kLibId + L"\\1.0";
    EXPECT_EQ(RegText(lib), L"Tarnvik 4.0 Type Library");
    EXPECT_EQ(RegText(lib + L"\\409\\win64"), path);
}

// Run after the server's unregistration.
TEST(Unregistered, KeysAreGoneButTheAppIdRoot) {
    for (const ClassRow& c : kClasses) {
        SCOPED_TRACE(c.name);
        const std::wstring p = std::wstring(L"Tarnvik.") + c.name;
        EXPECT_FALSE(KeyExists(p + L".1"));
        EXPECT_FALSE(KeyExists(p));
        EXPECT_FALSE(KeyExists(L"CLSID\\" + Guid(*c.clsid)));
        EXPECT_FALSE(KeyExists(L"Interface\\" + Guid(*c.iid)));
    }
    EXPECT_FALSE(KeyExists(std::wstring(L"TypeLib\\") + kLibId));
    EXPECT_FALSE(KeyExists(std::wstring(L"AppID\\") + kLibId));
    EXPECT_FALSE(KeyExists(L"AppID\\Tarnvik.DLL"));
    EXPECT_TRUE(KeyExists(L"AppID"));
}

// ------------------------------------------------------------------------------------------
// Creation, interfaces, aggregation and lifetime

TEST_F(ComTest, CreatesEveryClassByProgIdAndClsidWithExactlyItsInterfaces) {
    for (const ClassRow& c : kClasses) {
        SCOPED_TRACE(c.name);
        for (const std::wstring& progId :
             {std::wstring(L"Tarnvik.") + c.name, std::wstring(L"Tarnvik.") + c.name + L".1"}) {
            CLSID clsid;
            ASSERT_EQ(CLSIDFromProgID(progId.c_str(), &clsid), S_OK);
            EXPECT_TRUE(IsEqualCLSID(clsid, *c.clsid));
        }
        IUnknown* unk = nullptr;
        ASSERT_EQ(CoCreateInstance(*c.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(&unk)),
                  S_OK);
        for (const IID* yes : {&IID_IUnknown, &IID_IDispatch, c.iid, &IID_IProvideClassInfo}) {
            IUnknown* p = nullptr;
            EXPECT_EQ(unk->QueryInterface(*yes, reinterpret_cast<void**>(&p)), S_OK);
            if (p) p->Release();
        }
        for (const IID* no : {&IID_IClassFactory, &IID_IPersist, &IID_IProvideClassInfo2,
                              &IID_ISupportErrorInfo, &IID_IConnectionPointContainer}) {
            IUnknown* p = reinterpret_cast<IUnknown*>(1);
            EXPECT_EQ(unk->QueryInterface(*no, reinterpret_cast<void**>(&p)), E_NOINTERFACE);
            EXPECT_EQ(p, nullptr);
        }
        for (const ClassRow& other : kClasses) {
            if (other.iid == c.iid) continue;
            IUnknown* p = nullptr;
            EXPECT_EQ(unk->QueryInterface(*other.iid, reinterpret_cast<void**>(&p)),
                      E_NOINTERFACE);
        }
        IProvideClassInfo* pci = nullptr;
        ASSERT_EQ(unk->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&pci)), S_OK);
        ITypeInfo* ti = nullptr;
        ASSERT_EQ(pci->GetClassInfo(&ti), S_OK);
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(ti->GetTypeAttr(&attr), S_OK);
        EXPECT_EQ(attr->typekind, TKIND_COCLASS);
        EXPECT_TRUE(IsEqualGUID(attr->guid, *c.clsid));
        ti->ReleaseTypeAttr(attr);
        BSTR doc = nullptr;
        ASSERT_EQ(ti->GetDocumentation(MEMBERID_NIL, nullptr, &doc, nullptr, nullptr), S_OK);
        EXPECT_EQ(std::wstring(doc), std::wstring(c.name) + L" Class");
        SysFreeString(doc);
        ti->Release();
        pci->Release();
        EXPECT_EQ(unk->Release(), 0u);
    }
}

// An outer object that counts its references.
class Outer : public IUnknown {
public:
    IUnknown* inner = nullptr;
    LONG refs = 1;
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        return inner->QueryInterface(riid, out);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
};

TEST_F(ComTest, AggregationDelegatesToTheOuterObject) {
    Outer outer;
    ILinear* direct = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_CLinear, &outer, CLSCTX_INPROC_SERVER, IID_ILinear,
                               reinterpret_cast<void**>(&direct)),
              CLASS_E_NOAGGREGATION);
    ASSERT_EQ(CoCreateInstance(CLSID_CLinear, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&outer.inner)),
              S_OK);
    EXPECT_EQ(outer.refs, 1);  // the inner object holds no reference on its outer
    ILinear* lin = nullptr;
    ASSERT_EQ(outer.QueryInterface(IID_ILinear, reinterpret_cast<void**>(&lin)), S_OK);
    EXPECT_EQ(outer.refs, 2);
    // The aggregated interface answers for the outer object.
    IUnknown* back = nullptr;
    ASSERT_EQ(lin->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&back)), S_OK);
    EXPECT_EQ(back, static_cast<IUnknown*>(&outer));
    back->Release();
    BSTR out = nullptr;
    BSTR in = SysAllocString(L"ABC");
    EXPECT_EQ(lin->Code39(in, &out), S_OK);
    EXPECT_STREQ(out, L"*ABC*");
    SysFreeString(in);
    SysFreeString(out);
    lin->Release();
    EXPECT_EQ(outer.refs, 1);
    EXPECT_EQ(outer.inner->Release(), 0u);
}

TEST_F(ComTest, ReferenceCountsAndUnloading) {
    HMODULE module = LoadLibraryW(ServerPath().c_str());
    ASSERT_NE(module, nullptr);
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    using GetObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto canUnload = reinterpret_cast<CanUnload>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    auto getObject = reinterpret_cast<GetObject>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    ASSERT_TRUE(canUnload && getObject);
    EXPECT_EQ(canUnload(), S_OK);

    IClassFactory* factory = nullptr;
    IUnknown* none = nullptr;
    EXPECT_EQ(getObject(IID_IUnknown, IID_IClassFactory, reinterpret_cast<void**>(&none)),
              CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(getObject(CLSID_CAztec, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE);  // a class object reference locks the server
    IAztec* a = nullptr;
    IAztec* b = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IAztec, reinterpret_cast<void**>(&a)), S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IAztec, reinterpret_cast<void**>(&b)), S_OK);
    factory->LockServer(TRUE);
    factory->Release();
    EXPECT_EQ(canUnload(), S_FALSE);
    factory->LockServer(FALSE);

    // Two objects keep their own properties.
    EXPECT_EQ(a->put_ECLevel(12), S_OK);
    EXPECT_EQ(a->put_ECLevel(20), S_OK);  // out of range: ignored
    LONG va = 0, vb = 0;
    a->get_ECLevel(&va);
    b->get_ECLevel(&vb);
    EXPECT_EQ(va, 12);
    EXPECT_EQ(vb, 5);

    EXPECT_EQ(a->AddRef(), 2u);
    EXPECT_EQ(a->Release(), 1u);
    EXPECT_EQ(a->Release(), 0u);
    EXPECT_EQ(canUnload(), S_FALSE);
    EXPECT_EQ(b->Release(), 0u);
    EXPECT_EQ(canUnload(), S_OK);
    FreeLibrary(module);
}

// ------------------------------------------------------------------------------------------
// The linear class through its interface

using LinearMethod = HRESULT (STDMETHODCALLTYPE ILinear::*)(BSTR, BSTR*);
using WideEncoder = const wchar_t* (*)(const wchar_t*);

std::wstring CallRaw(ILinear* lin, LinearMethod m, BSTR in) {
    BSTR out = nullptr;
    EXPECT_EQ((lin->*m)(in, &out), S_OK);
    std::wstring r = out ? std::wstring(out, SysStringLen(out)) : L"<null>";
    SysFreeString(out);
    return r;
}

std::wstring Call(ILinear* lin, LinearMethod m, const std::wstring& in) {
    BSTR b = SysAllocStringLen(in.data(), static_cast<UINT>(in.size()));
    std::wstring r = CallRaw(lin, m, b);
    SysFreeString(b);
    return r;
}

class LinearTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        ASSERT_EQ(CoCreateInstance(CLSID_CLinear, nullptr, CLSCTX_INPROC_SERVER, IID_ILinear,
                                   reinterpret_cast<void**>(&lin_)),
                  S_OK);
    }
    void TearDown() override {
        if (lin_) lin_->Release();
        ComTest::TearDown();
    }
    ILinear* lin_ = nullptr;
};

TEST_F(LinearTest, MethodsGiveTheEncodersFontText) {
    const struct {
        const char* name;
        LinearMethod method;
        WideEncoder encoder;
    } rows[] = {
        {"Code39", &ILinear::Code39, EncodeCode39},
        {"Code39Check", &ILinear::Code39Check, EncodeCode39Check},
        {"Code39Ext", &ILinear::Code39Ext, EncodeCode39Ext},
        {"Code93", &ILinear::Code93, EncodeCode93},
        {"UPCA", &ILinear::UPCA, EncodeUPCA},
        {"UPCE", &ILinear::UPCE, EncodeUPCE},
        {"EAN13", &ILinear::EAN13, EncodeEAN13},
        {"EAN8", &ILinear::EAN8, EncodeEAN8},
        {"Bookland", &ILinear::Bookland, EncodeBookland},
        {"UCCEAN128", &ILinear::UCCEAN128, EncodeGS1128},
        {"GS1128", &ILinear::GS1128, EncodeGS1128},
        {"Code128A", &ILinear::Code128A, EncodeCode128A},
        {"Code128B", &ILinear::Code128B, EncodeCode128B},
        {"Code128C", &ILinear::Code128C, EncodeCode128C},
        {"Code128AWCheck", &ILinear::Code128AWCheck, EncodeCode128AWCheck},
        {"Code128BWCheck", &ILinear::Code128BWCheck, EncodeCode128BWCheck},
        {"Code128CWCheck", &ILinear::Code128CWCheck, EncodeCode128CWCheck},
        {"Code128Auto", &ILinear::Code128Auto, EncodeCode128Auto},
        {"USPS128", &ILinear::USPS128, EncodeUSPS128},
        {"SSCC", &ILinear::SSCC, EncodeSSCC},
        {"Code11", &ILinear::Code11, EncodeCode11},
        {"Code25", &ILinear::Code25, EncodeCode25},
        {"Code25Check", &ILinear::Code25Check, EncodeCode25Check},
        {"I25", &ILinear::I25, EncodeI25},
        {"I25Check", &ILinear::I25Check, EncodeI25Check},
        {"MSI", &ILinear::MSI, EncodeMSI},
        {"Telepen", &ILinear::Telepen, EncodeTelepen},
        {"TelepenNumeric", &ILinear::TelepenNumeric, EncodeTelepenNumeric},
        {"Codabar", &ILinear::Codabar, EncodeCodabar},
        {"POSTNET", &ILinear::POSTNET, EncodePOSTNET},
        {"RoyalMail", &ILinear::RoyalMail, EncodeRoyalMail},
    };
    const std::wstring inputs[] = {L"",         L"ABC",        L"abc",       L"CODE 39-$/+%.",
                                   L"&#65;&#300;x", L"\u00e9\u4e2d", L"036000291452", L"9781861972712", L"(00)123456789012345675", std::wstring(300, L'7'),
                                   std::wstring(2047, L'Q'), std::wstring(2048, L'Q')};
    for (const auto& r : rows) {
        for (const std::wstring& in : inputs) {
            SCOPED_TRACE(std::string(r.name) + " of " + std::to_string(in.size()) + " chars");
            const std::wstring want = r.encoder(in.c_str());
            EXPECT_EQ(Call(lin_, r.method, in), want);
        }
    }
    const std::wstring gs1 = L"(01)12345678901231(10)ABC";
    for (const std::wstring& in : {gs1, std::wstring(L"123456789012345678"), std::wstring()}) {
        const std::wstring sscc = Call(lin_, &ILinear::SSCCChecksum, in);
        ASSERT_EQ(sscc.size(), 1u);
        EXPECT_EQ(sscc[0], static_cast<wchar_t>(linear::ComputeSSCCChecksum(
                               linear::LinearContext(), reinterpret_cast<const char16_t*>(in.c_str()))));
    }
    EXPECT_EQ(Call(lin_, &ILinear::GS1128, gs1), Call(lin_, &ILinear::UCCEAN128, gs1));
    EXPECT_EQ(Call(lin_, &ILinear::Code39, L"ABC"), L"*ABC*");
    EXPECT_EQ(Call(lin_, &ILinear::Code39, L"abc"), L"**");
}

// The font text of the server, drawn with the Code 39 font, reads back as the data.
TEST_F(LinearTest, Code39ReadsBackThroughTheFont) {
    testing_support::ReadBackBatch batch;
    for (const char* data : {"ABC", "CODE-39 $/+%", "0123456789"}) {
        const std::wstring wide(data, data + std::strlen(data));
        const std::wstring text = Call(lin_, &ILinear::Code39, wide);
        const auto modules = testing_support::Code39FontToModules(
            std::u16string(text.begin(), text.end()));
        ASSERT_TRUE(modules.has_value()) << data;
        batch.Add(std::string("Code39 ") + data, testing_support::RenderLinear(*modules), "Code39",
                  true, data);
    }
    EXPECT_TRUE(batch.Write("readback/linear"));
}

TEST_F(LinearTest, MethodsWithTheirOwnPreparation) {
    // SEMI: the character before the last shows as ".".
    std::wstring semi = EncodeSemiM12(L"AB12345678");
    ASSERT_GT(semi.size(), 2u);
    semi[semi.size() - 2] = L'.';
    EXPECT_EQ(Call(lin_, &ILinear::SemiM12, L"AB12345678"), semi);
    std::wstring semi13 = EncodeSemiM13(L"AB12345678901234");
    semi13[semi13.size() - 2] = L'.';
    EXPECT_EQ(Call(lin_, &ILinear::SemiM13, L"AB12345678901234"), semi13);
    // Master carton: 13 digits, then Interleaved 2 of 5 with check digit and two spaces.
    EXPECT_EQ(Call(lin_, &ILinear::MasterCarton, L"12345678901234567"),
              std::wstring(EncodeI25Check(L"1234567890123")) + L"  ");
    EXPECT_EQ(Call(lin_, &ILinear::MasterCarton, L""), std::wstring(EncodeI25Check(L"0000000000000")) + L"  ");
    // Intelligent Mail: the published example, its second bar letter shown as "*".
    std::wstring im = L"AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA";
    im[1] = L'*';
    EXPECT_EQ(Call(lin_, &ILinear::IM, L"0123456709498765432101234567891"), im);
    // 20 digits take "00000" as routing code; past 31 characters the rest is cut.
    EXPECT_EQ(Call(lin_, &ILinear::IM, L"01234567094987654321"),
              Call(lin_, &ILinear::IM, L"0123456709498765432100000"));
    EXPECT_EQ(Call(lin_, &ILinear::IM, L"0123456709498765432101234567891XXXX"), im);
    EXPECT_EQ(Call(lin_, &ILinear::IM, L"").size(), 65u);
}

TEST_F(LinearTest, NullAndOverlongInputStayInsideTheBuffers) {
    EXPECT_EQ(CallRaw(lin_, &ILinear::Code39, nullptr), EncodeCode39(L""));
    // Input past 2,047 characters is cut there, as the encoders' own bound does.
    const std::wstring huge(100000, L'A');
    const std::wstring cut(2047, L'A');
    EXPECT_EQ(Call(lin_, &ILinear::Code39, huge), EncodeCode39(cut.c_str()));
    // Text after an embedded NUL is not read.
    EXPECT_EQ(Call(lin_, &ILinear::Code39, std::wstring(L"AB\0CD", 5)), L"*AB*");
    BSTR out = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(lin_->Code39(nullptr, nullptr), E_POINTER);
    EXPECT_EQ(lin_->USSCode39(nullptr, &out), S_OK);
    EXPECT_STREQ(out, L"");
    SysFreeString(out);
}

TEST_F(LinearTest, EncodesFromSeveralApartmentsAtOnce) {
    // The encoders' buffers are module-wide: the server's lock keeps the encodes apart.
    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &wrong] {
            CoInitialize(nullptr);
            ILinear* lin = nullptr;
            if (SUCCEEDED(CoCreateInstance(CLSID_CLinear, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_ILinear, reinterpret_cast<void**>(&lin)))) {
                const std::wstring in(100 + t * 300, static_cast<wchar_t>(L'A' + t));
                const std::wstring want = L"*" + in + L"*";
                for (int i = 0; i < 300; ++i)
                    if (Call(lin, &ILinear::Code39, in) != want) ++wrong[t];
                lin->Release();
            } else {
                wrong[t] = -1;
            }
            CoUninitialize();
        });
    }
    for (auto& th : threads) th.join();
    for (int w : wrong) EXPECT_EQ(w, 0);
}

// ------------------------------------------------------------------------------------------
// Dispatch

class DispatchTest : public ComTest {
protected:
    IDispatch* Make(const CLSID& clsid) {
        IDispatch* d = nullptr;
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&d)),
                  S_OK);
        made_.push_back(d);
        return d;
    }
    void TearDown() override {
        for (IDispatch* d : made_)
            if (d) d->Release();
        ComTest::TearDown();
    }
    static HRESULT Ids(IDispatch* d, std::vector<const wchar_t*> names, std::vector<DISPID>& ids) {
        ids.assign(names.size(), 12345);
        return d->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(names.data()),
                                static_cast<UINT>(names.size()), 1033, ids.data());
    }
    // Invoke with the arguments in call order (reversed into rgvarg here).
    static HRESULT Inv(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args,
                       VARIANT* result, UINT* argErr = nullptr,
                       std::vector<DISPID> named = {}) {
        std::vector<VARIANT> rg(args.rbegin(), args.rend());
        DISPPARAMS p = {rg.data(), named.data(), static_cast<UINT>(rg.size()),
                        static_cast<UINT>(named.size())};
        return d->Invoke(id, IID_NULL, 1033, flags, &p, result, nullptr, argErr);
    }
    std::vector<IDispatch*> made_;
};

VARIANT Str(const wchar_t* s) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(s);  // freed by the process end; tests are short
    return v;
}
VARIANT I4(LONG n) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

TEST_F(DispatchTest, TypeInformation) {
    IDispatch* d = Make(CLSID_CAztec);
    UINT n = 0;
    EXPECT_EQ(d->GetTypeInfoCount(&n), S_OK);
    EXPECT_EQ(n, 1u);
    ITypeInfo* ti = nullptr;
    EXPECT_EQ(d->GetTypeInfo(1, 1033, &ti), DISP_E_BADINDEX);
    ASSERT_EQ(d->GetTypeInfo(0, 1033, &ti), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(ti->GetTypeAttr(&attr), S_OK);
    EXPECT_TRUE(IsEqualGUID(attr->guid, IID_IAztec));
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    ti->ReleaseTypeAttr(attr);
    ti->Release();
}

TEST_F(DispatchTest, NamesAreFoundInAnyCase) {
    IDispatch* a = Make(CLSID_CAztec);
    std::vector<DISPID> ids;
    EXPECT_EQ(Ids(a, {L"ECLevel", L"eclevel", L"GET_ECLEVEL", L"put_ECLevel", L"encodecr",
                      L"FormulaNoForCR", L"Encode", L"PreferredFormat", L"setcrlf"},
                  ids),
              S_OK);
    EXPECT_EQ(ids, (std::vector<DISPID>{4, 4, 4, 4, 2, 6, 1, 3, 5}));
    EXPECT_EQ(Ids(a, {L"Encode", L"Nope", L"ECLevel"}, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], 1);
    EXPECT_EQ(ids[1], DISPID_UNKNOWN);
    EXPECT_EQ(Ids(a, {L"strInput"}, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(a->GetIDsOfNames(IID_NULL, nullptr, 0, 1033, nullptr), S_OK);

    IDispatch* l = Make(CLSID_CLinear);
    EXPECT_EQ(Ids(l, {L"code39", L"STRINPUT", L"strOutput", L"Code128Auto", L"im"}, ids), S_OK);
    EXPECT_EQ(ids, (std::vector<DISPID>{1, 0, 1, 37, 28}));
    IDispatch* m = Make(CLSID_CMedical);
    EXPECT_EQ(Ids(m, {L"pharmatwo", L"strToEncode", L"strOutput", L"nOption"}, ids), S_OK);
    EXPECT_EQ(ids, (std::vector<DISPID>{2, 0, 1, 0}));
    IDispatch* p = Make(CLSID_CPDF417);
    EXPECT_EQ(Ids(p, {L"put_SecurityLevel", L"SecurityLevel", L"FormulaNoForCR"}, ids), S_OK);
    EXPECT_EQ(ids, (std::vector<DISPID>{4, 4, 9}));
    EXPECT_EQ(Ids(p, {L"get_SecurityLevel"}, ids), DISP_E_UNKNOWNNAME);
}

TEST_F(DispatchTest, InvokeResultsAndErrors) {
    IDispatch* a = Make(CLSID_CAztec);
    VARIANT r;
    VariantInit(&r);
    EXPECT_EQ(a->Invoke(2, IID_NULL, 1033, DISPATCH_METHOD, nullptr, &r, nullptr, nullptr),
              DISP_E_BADVARTYPE);
    // EncodeCR takes four arguments.
    EXPECT_EQ(Inv(a, 2, DISPATCH_METHOD, {Str(L"A"), I4(0), I4(0)}, &r), DISP_E_BADPARAMCOUNT);
    // More arguments than any member has: refused before anything else, an unknown DISPID too.
    std::vector<VARIANT> six(6, I4(1));
    EXPECT_EQ(Inv(a, 999, DISPATCH_METHOD, six, &r), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Inv(a, 999, DISPATCH_METHOD, {}, &r), DISP_E_MEMBERNOTFOUND);
    UINT argErr = 77;
    EXPECT_EQ(Inv(a, 2, DISPATCH_METHOD, {Str(L"A"), Str(L"x"), I4(0), I4(0)}, &r, &argErr),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 2u);
    r.vt = VT_I4;  // stale content is reset before the call
    EXPECT_EQ(Inv(a, 2, DISPATCH_METHOD, {Str(L"A"), Str(L"2"), I4(0), I4(0)}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_BSTR);
    VariantClear(&r);
    // A property DISPID needs get or put.
    EXPECT_EQ(Inv(a, 4, DISPATCH_METHOD, {}, &r), DISP_E_MEMBERNOTFOUND);
    // Named arguments: only the property-put one.
    EXPECT_EQ(Inv(a, 1, DISPATCH_METHOD, {Str(L"A")}, &r, nullptr, {0}), DISP_E_NONAMEDARGS);
    EXPECT_EQ(Inv(a, 4, DISPATCH_PROPERTYPUT, {I4(9)}, nullptr, nullptr, {DISPID_PROPERTYPUT}),
              S_OK);
    EXPECT_EQ(Inv(a, 4, DISPATCH_PROPERTYPUT, {Str(L"11")}, nullptr, nullptr,
                  {DISPID_PROPERTYPUT}),
              S_OK);
    EXPECT_EQ(Inv(a, 4, DISPATCH_PROPERTYPUT, {I4(40)}, nullptr, nullptr, {DISPID_PROPERTYPUT}),
              S_OK);  // out of range: ignored
    EXPECT_EQ(Inv(a, 4, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_I4);
    EXPECT_EQ(r.lVal, 11);
    EXPECT_EQ(Inv(a, 4, DISPATCH_PROPERTYGET, {I4(1)}, &r), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Inv(a, 6, DISPATCH_METHOD, {Str(L"")}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_I4);
    EXPECT_EQ(r.lVal, 1);

    // PDF417's properties have setters only; short results come back as VT_I2.
    IDispatch* p = Make(CLSID_CPDF417);
    EXPECT_EQ(Inv(p, 4, DISPATCH_PROPERTYGET, {}, &r), DISP_E_MEMBERNOTFOUND);
    IDispatch* dm = Make(CLSID_CDatamatrix);
    EXPECT_EQ(Inv(dm, 7, DISPATCH_PROPERTYPUT, {I4(5)}, nullptr, nullptr, {DISPID_PROPERTYPUT}),
              S_OK);
    EXPECT_EQ(Inv(dm, 7, DISPATCH_PROPERTYGET, {}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_I2);
    EXPECT_EQ(r.iVal, 0);
    EXPECT_EQ(Inv(dm, 6, DISPATCH_PROPERTYGET, {}, &r), S_OK);
    EXPECT_EQ(r.iVal, -1);
}

TEST_F(DispatchTest, LinearConversionsAndNamedArguments) {
    IDispatch* l = Make(CLSID_CLinear);
    VARIANT r;
    VariantInit(&r);
    // Arguments are converted to the declared BSTR.
    ASSERT_EQ(Inv(l, 1, DISPATCH_METHOD, {I4(123)}, &r), S_OK);
    EXPECT_STREQ(r.bstrVal, L"*123*");
    VariantClear(&r);
    VARIANT byref;
    VariantInit(&byref);
    VARIANT inner = Str(L"XY");
    byref.vt = VT_BYREF | VT_VARIANT;
    byref.pvarVal = &inner;
    ASSERT_EQ(Inv(l, 1, DISPATCH_METHOD, {byref}, &r), S_OK);
    EXPECT_STREQ(r.bstrVal, L"*XY*");
    VariantClear(&r);
    UINT argErr = 77;
    VARIANT unk;
    VariantInit(&unk);
    unk.vt = VT_UNKNOWN;
    unk.punkVal = nullptr;
    EXPECT_EQ(Inv(l, 1, DISPATCH_METHOD, {unk}, &r, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);
    // A method needs exactly its one [in] argument.
    EXPECT_EQ(Inv(l, 1, DISPATCH_METHOD, {}, &r), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Inv(l, 1, DISPATCH_METHOD, {Str(L"A"), Str(L"B")}, &r), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Inv(l, 1, DISPATCH_METHOD, {Str(L"A"), Str(L"B"), Str(L"C")}, &r),
              DISP_E_BADPARAMCOUNT);
    // Named: strInput is position 0.
    ASSERT_EQ(Inv(l, 1, DISPATCH_METHOD, {Str(L"NAMED")}, &r, nullptr, {0}), S_OK);
    EXPECT_STREQ(r.bstrVal, L"*NAMED*");
    VariantClear(&r);
    argErr = 77;
    EXPECT_EQ(Inv(l, 1, DISPATCH_METHOD, {Str(L"A")}, &r, &argErr, {1}), DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(argErr, 0u);
    argErr = 77;
    EXPECT_EQ(Inv(l, 1, DISPATCH_METHOD, {Str(L"A")}, &r, &argErr, {-7}), DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(argErr, 0u);
    // No result VARIANT asked for: the text is freed by the server.
    EXPECT_EQ(Inv(l, 10, DISPATCH_METHOD, {Str(L"X")}, nullptr), S_OK);
}

// ------------------------------------------------------------------------------------------
// Pieces of 250 characters

TEST(Pieces, ConcatenationGivesTheTextBack) {
    for (std::size_t len : {0u, 249u, 250u, 251u, 500u, 600u}) {
        SCOPED_TRACE(len);
        std::wstring text;
        for (std::size_t i = 0; i < len; ++i) text += static_cast<wchar_t>(L'!' + i % 90);
        const long count = tarnvik::PieceCount(text);
        EXPECT_EQ(count, static_cast<long>(len / 250 + 1));
        std::wstring joined;
        for (long p = 1; p <= count; ++p) {
            const std::wstring piece = tarnvik::Piece(text, p);
            EXPECT_LE(piece.size(), 250u);
            joined += piece;
        }
        EXPECT_EQ(joined, text);
        EXPECT_EQ(tarnvik::Piece(text, 0), text);
        EXPECT_EQ(tarnvik::Piece(text, -5), tarnvik::Piece(text, 1));
        EXPECT_EQ(tarnvik::Piece(text, count + 1), L"");
    }
    const std::wstring six(600, L'x');
    EXPECT_EQ(tarnvik::PieceCount(six), 3);
    EXPECT_EQ(tarnvik::Piece(six, 3).size(), 100u);
    EXPECT_EQ(tarnvik::Piece(std::wstring(500, L'x'), 3), L"");
    // A huge index starts far beyond any text rather than wrapping around.
    EXPECT_EQ(tarnvik::Piece(six, 2147483647L), L"");
}

}  // namespace

namespace {

// ------------------------------------------------------------------------------------------
// Text of the encode methods

TEST(MethodText, EscapesAreDecodedByTheServerRules) {
    BSTR in = SysAllocString(L"&#65;BC&#300;&#1234");
    EXPECT_EQ(tarnvik::DecodedInput(in), L"ABC&#300;{4");
    SysFreeString(in);
    EXPECT_EQ(tarnvik::DecodedInput(nullptr), L"");
}

TEST(MethodText, CodePageConversionCountsBytesNotUnits) {
    const std::wstring text = L"a\u00e9\u4e2d\U0001F600";  // 1 + 2 + 3 + 4 bytes in UTF-8
    EXPECT_EQ(tarnvik::ToCodePage(text, CP_UTF8), "a\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80");
    EXPECT_EQ(tarnvik::FromCodePage(tarnvik::ToCodePage(text, CP_UTF8), CP_UTF8), text);
    // Bounded buffers take whole characters only.
    EXPECT_EQ(tarnvik::ToCodePage(text, CP_UTF8, 9), "a\xc3\xa9\xe4\xb8\xad");
    EXPECT_EQ(tarnvik::ToCodePage(text, CP_UTF8, 5), "a\xc3\xa9");
    EXPECT_EQ(tarnvik::ToCodePage(text, CP_UTF8, 0), "");
    EXPECT_EQ(tarnvik::ToCodePage(std::wstring(20, L'7'), 1252, 13), std::string(13, '7'));
    // Shift-JIS: two bytes for one UTF-16 unit.
    const std::string sjis = tarnvik::ToCodePage(L"\u65e5\u672c", 932);
    EXPECT_EQ(sjis.size(), 4u);
    EXPECT_EQ(tarnvik::ToCodePage(L"\u65e5\u672c", 932, 3).size(), 2u);
    EXPECT_EQ(tarnvik::FromCodePage(sjis, 932), L"\u65e5\u672c");
    EXPECT_EQ(tarnvik::FromCodePage(std::string("AB\0CD", 5), 1252), L"AB");
}

// A bounded conversion keeps the longest prefix of whole characters that fits: checked
// against every prefix converted whole, for every bound, in code pages of one to four bytes a
// character; and a million characters are cut to the bound before their one conversion.
TEST(MethodText, BoundedConversionKeepsTheLongestPrefixThatFits) {
    const std::wstring text = L"a\u00e9\u4e2d\U0001F600b\U0001F601\u00fc\u65e5z";
    for (UINT cp : {UINT(CP_UTF8), UINT(1252), UINT(932)}) {
        const std::string whole = tarnvik::ToCodePage(text, cp);
        for (std::size_t bound = 0; bound <= whole.size() + 1; ++bound) {
            std::string best;
            for (std::size_t units = 0; units <= text.size(); ++units) {
                if (units > 0 && units < text.size() && IS_LOW_SURROGATE(text[units])) continue;
                const std::string prefix = tarnvik::ToCodePage(text.substr(0, units), cp);
                if (prefix.size() <= bound && prefix.size() >= best.size()) best = prefix;
            }
            EXPECT_EQ(tarnvik::ToCodePage(text, cp, bound), best) << cp << " " << bound;
        }
    }
    std::wstring million;
    while (million.size() < 1000000) million += L"\u00e9\U0001F600";  // 2 + 4 bytes in UTF-8
    std::string want;
    while (want.size() + 6 <= 2047) want += "\xc3\xa9\xf0\x9f\x98\x80";  // 2,046 bytes
    const std::string cut = tarnvik::ToCodePage(million, CP_UTF8, 2047);
    EXPECT_EQ(cut.size(), want.size());
    EXPECT_TRUE(cut == want);
    EXPECT_EQ(tarnvik::ToCodePage(std::wstring(1000000, L'\u65e5'), 932, 2047).size(), 2046u);
    EXPECT_EQ(tarnvik::ToCodePage(std::wstring(1000000, L'7'), 1252, 2047), std::string(2047, '7'));
}

TEST(MethodText, MasterCartonAndIntelligentMailData) {
    EXPECT_EQ(tarnvik::MasterCartonData(L"123"), L"1000000000023");
    EXPECT_EQ(tarnvik::MasterCartonData(L""), L"0000000000000");
    EXPECT_EQ(tarnvik::MasterCartonData(L"12345678901234567"), L"1234567890123");
    std::wstring tracking, routing;
    tarnvik::IntelligentMailData(std::wstring(20, L'1'), tracking, routing);
    EXPECT_EQ(tracking, std::wstring(20, L'1'));
    EXPECT_EQ(routing, L"00000");
    tarnvik::IntelligentMailData(L"12345678901234567890ABCDEFGHIJKLMNO", tracking, routing);
    EXPECT_EQ(routing, L"ABCDEFGHIJK");
}

}  // namespace
