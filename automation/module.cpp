// The module's entry points: class objects, unloading, and self-registration.
#include <cstring>
#include <string>
#include <vector>

#include <olectl.h>

#include "classes.h"

namespace tarnvik {

namespace {
const ClassEntry kLinearEntry = {&kLinearInfo, &Make<CLinear>};
}  // namespace

const ClassEntry* Classes(std::size_t* count) {
    static const ClassEntry classes[] = {
        kLinearEntry,      kDatamatrixEntry, kPDF417Entry,   kMicroPDF417Entry,
        kQRCodeEntry,      kMicroQRCodeEntry, kAztecEntry,   kMaxicodeEntry,
        kCode16kEntry,     kDatabarEntry,    kMedicalEntry,
    };
    *count = sizeof classes / sizeof classes[0];
    return classes;
}

namespace {

const wchar_t kAppId[] = L"{F638BFF0-B4A5-4521-B96C-0E630421942B}";

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

LONG SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY h = nullptr;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &h, nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    rc = RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
    return rc;
}

LONG MakeKey(const std::wstring& key) {
    HKEY h = nullptr;
    const LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, &h, nullptr);
    if (rc == ERROR_SUCCESS) RegCloseKey(h);
    return rc;
}

void DeleteTree(const std::wstring& key) { RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str()); }

// The module's own registration script (resource "REGISTRY" 101), one entry a line:
//   keep <key>                 made on registration, kept on unregistration
//   key <key> [= <default>]    made on registration, removed on unregistration
//   value <key> <name> = <data>
// Lines starting with ';' are comments.
struct ScriptLine {
    std::string verb, key, name, data;
    bool hasData = false;
};

std::vector<ScriptLine> ReadScript() {
    std::vector<ScriptLine> lines;
    HMODULE module = ModuleHandle();
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(101), L"REGISTRY");
    if (!res) return lines;
    HGLOBAL data = LoadResource(module, res);
    const char* text = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    if (!text) return lines;
    const std::string script(text, SizeofResource(module, res));
    std::size_t at = 0;
    while (at < script.size()) {
        std::size_t end = script.find('\n', at);
        if (end == std::string::npos) end = script.size();
        std::string line = script.substr(at, end - at);
        at = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        ScriptLine s;
        std::size_t sp = line.find(' ');
        if (sp == std::string::npos) continue;
        s.verb = line.substr(0, sp);
        std::string rest = line.substr(sp + 1);
        const std::size_t eq = rest.find(" = ");
        if (eq != std::string::npos) {
            s.data = rest.substr(eq + 3);
            s.hasData = true;
            rest = rest.substr(0, eq);
        }
        if (s.verb == "value") {
            sp = rest.find(' ');
            if (sp == std::string::npos) continue;
            s.name = rest.substr(sp + 1);
            rest = rest.substr(0, sp);
        }
        s.key = rest;
        lines.push_back(s);
    }
    return lines;
}

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

HRESULT RunScript(bool install) {
    const std::vector<ScriptLine> lines = ReadScript();
    if (lines.empty()) return SELFREG_E_CLASS;
    if (install) {
        for (const ScriptLine& s : lines) {
            LONG rc = ERROR_SUCCESS;
            if (s.verb == "value")
                rc = SetValue(Widen(s.key), Widen(s.name).c_str(), Widen(s.data));
            else if (s.hasData)
                rc = SetValue(Widen(s.key), nullptr, Widen(s.data));
            else
                rc = MakeKey(Widen(s.key));
            if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
        }
    } else {
        for (auto it = lines.rbegin(); it != lines.rend(); ++it)
            if (it->verb == "key") DeleteTree(Widen(it->key));
    }
    return S_OK;
}

HRESULT RegisterClassKeys(const ClassInfo& info, const std::wstring& path) {
    const std::wstring name = info.name;
    const std::wstring friendly = L"C" + name + L" Object";
    const std::wstring progId = L"Tarnvik." + name;
    const std::wstring progId1 = progId + L".1";
    const std::wstring clsid = GuidText(*info.clsid);
    const std::wstring key = L"CLSID\\" + clsid;
    const std::wstring libid = GuidText(LIBID_TarnvikLib);
    const struct {
        std::wstring key;
        const wchar_t* name;
        std::wstring value;
    } values[] = {
        {progId1, nullptr, friendly},
        {progId1 + L"\\CLSID", nullptr, clsid},
        {progId, nullptr, friendly},
        {progId + L"\\CLSID", nullptr, clsid},
        {progId + L"\\CurVer", nullptr, progId1},
        {key, nullptr, friendly},
        {key, L"AppID", kAppId},
        {key + L"\\ProgID", nullptr, progId1},
        {key + L"\\VersionIndependentProgID", nullptr, progId},
        {key + L"\\InprocServer32", nullptr, path},
        {key + L"\\InprocServer32", L"ThreadingModel", L"apartment"},
        {key + L"\\TypeLib", nullptr, libid},
    };
    for (const auto& v : values) {
        const LONG rc = SetValue(v.key, v.name, v.value);
        if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    }
    const LONG rc = MakeKey(key + L"\\Programmable");
    return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc);
}

void UnregisterClassKeys(const ClassInfo& info) {
    const std::wstring progId = std::wstring(L"Tarnvik.") + info.name;
    DeleteTree(progId + L".1");
    DeleteTree(progId);
    DeleteTree(L"CLSID\\" + GuidText(*info.clsid));
}

}  // namespace

}  // namespace tarnvik

using namespace tarnvik;

extern "C" {

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
    return GetClassObject(clsid, riid, out);
}

STDAPI DllCanUnloadNow() { return ModuleCount() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
    const std::wstring path = ModulePath();
    if (path.empty()) return SELFREG_E_CLASS;
    HRESULT hr = RunScript(true);
    std::size_t count = 0;
    const ClassEntry* classes = Classes(&count);
    for (std::size_t i = 0; i < count && SUCCEEDED(hr); ++i)
        hr = RegisterClassKeys(*classes[i].info, path);
    if (FAILED(hr)) return hr;
    ITypeLib* lib = TypeLibrary();
    if (!lib) return SELFREG_E_TYPELIB;
    std::wstring libPath = path;
    hr = RegisterTypeLib(lib, libPath.data(), nullptr);
    return SUCCEEDED(hr) ? S_OK : SELFREG_E_TYPELIB;
}

STDAPI DllUnregisterServer() {
    RunScript(false);
    std::size_t count = 0;
    const ClassEntry* classes = Classes(&count);
    for (std::size_t i = 0; i < count; ++i) UnregisterClassKeys(*classes[i].info);
    // The library's own identity (LCID included): the keys are written under its LCID.
    ITypeLib* lib = TypeLibrary();
    if (!lib) return SELFREG_E_TYPELIB;
    TLIBATTR* attr = nullptr;
    if (FAILED(lib->GetLibAttr(&attr))) return SELFREG_E_TYPELIB;
    const HRESULT hr = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum,
                                         attr->lcid, attr->syskind);
    lib->ReleaseTLibAttr(attr);
    return SUCCEEDED(hr) || hr == TYPE_E_REGISTRYACCESS ? S_OK : SELFREG_E_TYPELIB;
}

}  // extern "C"
