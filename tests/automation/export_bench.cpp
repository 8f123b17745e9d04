// Calls per second under Wine of the exported functions, each of which initialises COM and
// creates its object, against the same methods called on one object through its interface.
#include <windows.h>
#include <oaidl.h>

#include <cstdio>
#include <string>

#include "per_second.h"
#include "tarnvik.h"

namespace {

using Plain = int (*)(const wchar_t*, wchar_t*);

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: export_bench <path of Tarnvik.dll>\n");
        return 2;
    }
    const std::string path = argv[1];
    HMODULE dll = LoadLibraryA(path.c_str());
    CoInitialize(nullptr);
    ILinear* lin = nullptr;
    IDatabar* db = nullptr;
    if (!dll ||
        FAILED(CoCreateInstance(CLSID_CLinear, nullptr, CLSCTX_INPROC_SERVER, IID_ILinear,
                                reinterpret_cast<void**>(&lin))) ||
        FAILED(CoCreateInstance(CLSID_CDatabar, nullptr, CLSCTX_INPROC_SERVER, IID_IDatabar,
                                reinterpret_cast<void**>(&db)))) {
        std::printf("Tarnvik is not registered or not found\n");
        return 1;
    }
    const struct {
        const char* name;
        const wchar_t* input;
        HRESULT (*direct)(ILinear*, IDatabar*, BSTR, BSTR*);
    } rows[] = {
        {"ZYLCode39", L"ABC123456789",
         [](ILinear* l, IDatabar*, BSTR in, BSTR* out) { return l->Code39(in, out); }},
        {"ZYLDatabarEncode", L"1234567890123",
         [](ILinear*, IDatabar* d, BSTR in, BSTR* out) { return d->Databar14(in, out); }},
        {"ZYLDatabarExpStkEncode", L"(01)90012345678908(3103)001750(10)ABC123",
         [](ILinear*, IDatabar* d, BSTR in, BSTR* out) { return d->DatabarExpStk(in, out); }},
    };
    static wchar_t buffer[16384];
    for (const auto& r : rows) {
        auto fn = reinterpret_cast<Plain>(reinterpret_cast<void*>(GetProcAddress(dll, r.name)));
        if (!fn) continue;
        const double exported = PerSecond([&] { fn(r.input, buffer); }, 100);
        BSTR in = SysAllocString(r.input);
        const double direct = PerSecond([&] {
            BSTR out = nullptr;
            r.direct(lin, db, in, &out);
            SysFreeString(out);
        }, 100);
        SysFreeString(in);
        std::printf("%-24s export %9.0f calls/s   interface %9.0f calls/s\n", r.name, exported,
                    direct);
    }
    db->Release();
    lin->Release();
    CoUninitialize();
    return 0;
}
