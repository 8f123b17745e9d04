// The exported encode functions: each reaches one of the module's own classes through the
// component system, as an outside host would, calls one method through the interface's
// vtable and copies the result into the caller's buffer.
#include "exports.h"

#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "error_text.h"
#include "tarnvik.h"

namespace {

void PrintError(HRESULT hr) {
    std::wprintf(L"Error: 0x%08x %ls\n", static_cast<unsigned>(hr),
                 tarnvik::ErrorMessageText(hr).c_str());
    std::fflush(stdout);
}

// COM on the calling thread for the length of one export. The thread is uninitialised again
// only when this call initialised it (S_OK, or S_FALSE for a further count in the apartment
// it is already in): a caller already in the multithreaded apartment keeps it.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

// Creates the class, runs it and asks for its interface, as the component system's smart
// pointers do: a missing interface counts as E_POINTER.
template <class Itf>
HRESULT Create(const CLSID& clsid, const IID& iid, Itf** itf) {
    IUnknown* unknown = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown,
                                  reinterpret_cast<void**>(&unknown));
    if (FAILED(hr)) return hr;
    hr = OleRun(unknown);
    if (SUCCEEDED(hr)) {
        hr = unknown->QueryInterface(iid, reinterpret_cast<void**>(itf));
        if (hr == E_NOINTERFACE || (SUCCEEDED(hr) && !*itf)) hr = E_POINTER;
        if (FAILED(hr)) *itf = nullptr;
    }
    unknown->Release();
    return hr;
}

// One export: `call(itf, input, &result)` is the method; kCrLf asks for SetCRLF(1) first.
template <class Itf, bool kCrLf, class Call>
int Export(const CLSID& clsid, const IID& iid, const wchar_t* input, wchar_t* output, Call call) {
    if (!output) {
        PrintError(E_POINTER);
        return 0;
    }
    ComScope com;
    Itf* itf = nullptr;
    BSTR in = nullptr;
    BSTR result = nullptr;
    HRESULT hr = Create(clsid, iid, &itf);
    if (SUCCEEDED(hr)) {
        if constexpr (kCrLf) itf->SetCRLF(1);
        in = SysAllocString(input);
        if (input && !in) hr = E_OUTOFMEMORY;
    }
    if (SUCCEEDED(hr)) hr = call(itf, in, &result);
    if (SUCCEEDED(hr)) {
        const UINT n = result ? SysStringLen(result) : 0;
        if (n > 0) std::wmemcpy(output, result, n);
        output[n] = L'\0';
    } else {
        PrintError(hr);
    }
    SysFreeString(result);
    SysFreeString(in);
    if (itf) itf->Release();
    return SUCCEEDED(hr) ? 1 : 0;
}

}  // namespace

extern "C" {

#define TARNVIK_DEFINE_LINEAR(name, method)                                     \
    int ZYL##name(const wchar_t* input, wchar_t* output) {                      \
        return Export<ILinear, false>(                                          \
            CLSID_CLinear, IID_ILinear, input, output,                          \
            [](ILinear* i, BSTR in, BSTR* out) { return i->method(in, out); }); \
    }
TARNVIK_EXPORTS_LINEAR(TARNVIK_DEFINE_LINEAR)
#undef TARNVIK_DEFINE_LINEAR

int ZYLDataMatrixEncode(const wchar_t* input, wchar_t* output) {
    return Export<IDatamatrix, true>(
        CLSID_CDatamatrix, IID_IDatamatrix, input, output,
        [](IDatamatrix* i, BSTR in, BSTR* out) { return i->Encode(in, out); });
}

int ZYLDataMatrixOption(const wchar_t* input, int nFormat, int nEncodation, int nGS1,
                        wchar_t* output) {
    return Export<IDatamatrix, true>(CLSID_CDatamatrix, IID_IDatamatrix, input, output,
                                     [=](IDatamatrix* i, BSTR in, BSTR* out) {
                                         return i->EncodeCR(in, 0, nFormat, nEncodation, nGS1, out);
                                     });
}

int ZYLPDF417Encode(const wchar_t* input, wchar_t* output) {
    return Export<IPDF417, true>(CLSID_CPDF417, IID_IPDF417, input, output,
                                 [](IPDF417* i, BSTR in, BSTR* out) { return i->Encode(in, out); });
}

int ZYLPDF417Option(const wchar_t* input, int, int, int, int, int, wchar_t* output) {
    return ZYLPDF417Encode(input, output);
}

int ZYLQRCodeEncode(const wchar_t* input, wchar_t* output) {
    return Export<IQRCode, true>(CLSID_CQRCode, IID_IQRCode, input, output,
                                 [](IQRCode* i, BSTR in, BSTR* out) { return i->Encode(in, out); });
}

int ZYLQRCodeOption(const wchar_t* input, int nECLevel, wchar_t* output) {
    return Export<IQRCode, true>(
        CLSID_CQRCode, IID_IQRCode, input, output,
        [=](IQRCode* i, BSTR in, BSTR* out) { return i->EncodeCR(in, 0, nECLevel, out); });
}

int ZYLMicroQRCodeEncode(const wchar_t* input, wchar_t* output) {
    return Export<IMicroQRCode, true>(
        CLSID_CMicroQRCode, IID_IMicroQRCode, input, output,
        [](IMicroQRCode* i, BSTR in, BSTR* out) { return i->Encode(in, out); });
}

int ZYLCode16KEncode(const wchar_t* input, wchar_t* output) {
    return Export<ICode16k, false>(
        CLSID_CCode16k, IID_ICode16k, input, output,
        [](ICode16k* i, BSTR in, BSTR* out) { return i->Encode(in, out); });
}

int ZYLAztecEncode(const wchar_t* input, wchar_t* output) {
    return Export<IAztec, false>(CLSID_CAztec, IID_IAztec, input, output,
                                 [](IAztec* i, BSTR in, BSTR* out) { return i->Encode(in, out); });
}

int ZYLAztecOption(const wchar_t* input, int nFormat, int nErrorLevel, wchar_t* output) {
    return Export<IAztec, false>(CLSID_CAztec, IID_IAztec, input, output,
                                 [=](IAztec* i, BSTR in, BSTR* out) {
                                     return i->EncodeCR(in, 0, nFormat, nErrorLevel, out);
                                 });
}

int ZYLMaxicodeEncode(const wchar_t* input, int nMode, wchar_t* output) {
    return Export<IMaxicode, false>(
        CLSID_CMaxicode, IID_IMaxicode, input, output,
        [=](IMaxicode* i, BSTR in, BSTR* out) { return i->EncodeCR(in, 0, nMode, out); });
}

#define TARNVIK_DEFINE_DATABAR(name, method)                                     \
    int ZYL##name(const wchar_t* input, wchar_t* output) {                       \
        return Export<IDatabar, false>(                                          \
            CLSID_CDatabar, IID_IDatabar, input, output,                         \
            [](IDatabar* i, BSTR in, BSTR* out) { return i->method(in, out); }); \
    }
TARNVIK_DEFINE_DATABAR(DatabarEncode, Databar14)
TARNVIK_DEFINE_DATABAR(DatabarStackEncode, DatabarStack)
TARNVIK_DEFINE_DATABAR(DatabarStkOmniEncode, DatabarStkOmni)
TARNVIK_DEFINE_DATABAR(DatabarLtdEncode, DatabarLtd)
TARNVIK_DEFINE_DATABAR(DatabarExpEncode, DatabarExp)
TARNVIK_DEFINE_DATABAR(DatabarExpStkEncode, DatabarExpStk)
#undef TARNVIK_DEFINE_DATABAR

}  // extern "C"

// ZYLPDMicroF417Encode: its callers declare the buffer as a reference to its first character
// and link to the C++ name _Z20ZYLPDMicroF417EncodePwRw, which tarnvik.def gives to this
// function. A reference and a pointer pass alike, and as a pointer the buffer can be tested:
// a null buffer is refused as in every other export (through a reference the compiler would
// take the address for non-null and drop the test).
extern "C" int TarnvikPDMicroF417Encode(const wchar_t* input, wchar_t* output) {
    return Export<IMicroPDF417, true>(
        CLSID_CMicroPDF417, IID_IMicroPDF417, input, output,
        [](IMicroPDF417* i, BSTR in, BSTR* out) { return i->Encode(in, out); });
}
