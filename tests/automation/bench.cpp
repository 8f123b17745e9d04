// Calls per second of the linear class under Wine: late-bound through IDispatch::Invoke (with
// the DISPID looked up once) against direct calls through the ILinear interface.
#include <windows.h>
#include <oaidl.h>

#include <cstdio>

#include "per_second.h"
#include "tarnvik.h"

namespace {


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
    CoUninitialize();
    return 0;
}
