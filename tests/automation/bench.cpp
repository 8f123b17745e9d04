// Calls per second of the linear class under Wine: late-bound through IDispatch::Invoke (with
// the DISPID looked up once) against direct calls through the ILinear interface; and of the
// Pharmacode and DataBar Expanded methods on an input of a million characters.
#include <windows.h>
#include <oaidl.h>

#include <cstdio>
#include <string>

#include "per_second.h"
#include "tarnvik.h"

namespace {

// Calls per second of each method on a million-character text.
void MillionCharacters() {
    IMedical* med = nullptr;
    IDatabar* db = nullptr;
    if (FAILED(CoCreateInstance(CLSID_CMedical, nullptr, CLSCTX_INPROC_SERVER, IID_IMedical,
                                reinterpret_cast<void**>(&med))) ||
        FAILED(CoCreateInstance(CLSID_CDatabar, nullptr, CLSCTX_INPROC_SERVER, IID_IDatabar,
                                reinterpret_cast<void**>(&db)))) {
        std::printf("Tarnvik.Medical or Tarnvik.Databar is not registered\n");
        return;
    }
    const std::wstring digits(1000000, L'7');
    const std::wstring gs1 = L"(10)" + std::wstring(1000000, L'A');
    BSTR number = SysAllocStringLen(digits.data(), static_cast<UINT>(digits.size()));
    BSTR data = SysAllocStringLen(gs1.data(), static_cast<UINT>(gs1.size()));
    auto measure = [](const char* name, auto call) {
        const double rate = PerSecond([&] {
            BSTR out = nullptr;
            call(&out);
            SysFreeString(out);
        }, 1);
        std::printf("%-32s %10.1f calls/s\n", name, rate);
    };
    measure("Pharmaone, 1,000,000 digits", [&](BSTR* o) { return med->Pharmaone(number, o); });
    measure("Pharmatwo, 1,000,000 digits", [&](BSTR* o) { return med->Pharmatwo(number, o); });
    measure("DatabarExp, 1,000,004 characters", [&](BSTR* o) { return db->DatabarExp(data, o); });
    SysFreeString(number);
    SysFreeString(data);
    med->Release();
    db->Release();
}

}  // namespace

int main() {
    CoInitialize(nullptr);
    ILinear* lin = nullptr;
    if (FAILED(CoCreateInstance(CLSID_CLinear, nullptr, CLSCTX_INPROC_SERVER, IID_ILinear,
                                reinterpret_cast<void**>(&lin)))) {
        std::printf("Tarnvik.Linear is not registered\n");
        return 1;
    }
    BSTR input = SysAllocString(L"ABC123456789");
    for (const wchar_t* name : {L"Code128Auto", L"Code128B", L"Code39"}) {
        DISPID id = 0;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        lin->GetIDsOfNames(IID_NULL, names, 1, 1033, &id);
        const double late = PerSecond([&] {
            VARIANT arg;
            arg.vt = VT_BSTR;
            arg.bstrVal = input;
            DISPPARAMS params = {&arg, nullptr, 1, 0};
            VARIANT result;
            VariantInit(&result);
            lin->Invoke(id, IID_NULL, 1033, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
            VariantClear(&result);
        });
        HRESULT (STDMETHODCALLTYPE ILinear::*method)(BSTR, BSTR*) =
            name[4] == L'3' ? &ILinear::Code39
                            : (name[7] == L'A' ? &ILinear::Code128Auto : &ILinear::Code128B);
        const double direct = PerSecond([&] {
            BSTR out = nullptr;
            (lin->*method)(input, &out);
            SysFreeString(out);
        });
        std::printf("%-12ls late-bound %10.0f calls/s   interface %10.0f calls/s\n", name, late,
                    direct);
    }
    SysFreeString(input);
    lin->Release();
    MillionCharacters();
    CoUninitialize();
    return 0;
}
