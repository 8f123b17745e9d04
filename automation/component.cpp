#include "component.h"

#include <mutex>
#include <vector>

namespace tarnvik {

namespace {
LONG g_moduleCount = 0;
SRWLOCK g_encodeLock = SRWLOCK_INIT;
}  // namespace

void ModuleAddRef() { InterlockedIncrement(&g_moduleCount); }
void ModuleRelease() { InterlockedDecrement(&g_moduleCount); }
LONG ModuleCount() { return InterlockedCompareExchange(&g_moduleCount, 0, 0); }

HMODULE ModuleHandle() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ModuleHandle), &module);
    return module;
}

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(ModuleHandle(), path.data(),
                                           static_cast<DWORD>(path.size()));
        if (n == 0) return std::wstring();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

ITypeLib* TypeLibrary() {
    static ITypeLib* library = [] {
        ITypeLib* lib = nullptr;
        if (FAILED(LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &lib))) lib = nullptr;
        return lib;
    }();
    return library;
}

EncodeLock::EncodeLock() { AcquireSRWLockExclusive(&g_encodeLock); }
EncodeLock::~EncodeLock() { ReleaseSRWLockExclusive(&g_encodeLock); }

HRESULT ReturnText(const wchar_t* text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = SysAllocString(text ? text : L"");
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

std::wstring ArgText(BSTR text) {
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

// ---------------------------------------------------------------------------------------
// Dispatch frame

namespace {

struct Member {
    DISPID id;
    INVOKEKIND kind;
    SHORT vtableOffset;
    std::vector<VARTYPE> inTypes;  // declared [in] parameter types, in order
    VARTYPE retType = VT_EMPTY;    // pointed-to type of the [out, retval] parameter
};

struct Name {
    std::wstring text;
    DISPID id;
};

struct Table {
    ITypeInfo* info = nullptr;
    std::vector<Member> members;
    std::vector<Name> names;
    UINT widest = 0;  // most parameters of any member, [out, retval] included
};

// Adds the member that `fd` describes to `table`: its parameter types and its names (a
// property also as "get_" and "put_" with its name).
void AddMember(ITypeInfo* vt, const FUNCDESC& fd, Table& table) {
    Member m;
    m.id = fd.memid;
    m.kind = fd.invkind;
    m.vtableOffset = fd.oVft;
    for (SHORT p = 0; p < fd.cParams; ++p) {
        const ELEMDESC& e = fd.lprgelemdescParam[p];
        if (e.paramdesc.wParamFlags & PARAMFLAG_FRETVAL)
            m.retType = e.tdesc.vt == VT_PTR ? e.tdesc.lptdesc->vt : e.tdesc.vt;
        else
            m.inTypes.push_back(e.tdesc.vt);
    }
    if (static_cast<UINT>(fd.cParams) > table.widest) table.widest = fd.cParams;
    BSTR name = nullptr;
    UINT got = 0;
    if (SUCCEEDED(vt->GetNames(fd.memid, &name, 1, &got)) && got == 1) {
        const std::wstring n(name, SysStringLen(name));
        SysFreeString(name);
        if (m.kind == INVOKE_FUNC) {
            table.names.push_back({n, m.id});
        } else {
            bool seen = false;
            for (const Name& x : table.names) seen = seen || x.text == n;
            if (!seen) table.names.push_back({n, m.id});
            table.names.push_back({(m.kind == INVOKE_PROPERTYGET ? L"get_" : L"put_") + n, m.id});
        }
    }
    table.members.push_back(std::move(m));
}

Table* BuildTable(const ClassInfo& ci) {
    auto* table = new Table();
    ITypeLib* lib = TypeLibrary();
    if (!lib || FAILED(lib->GetTypeInfoOfGuid(*ci.iid, &table->info))) {
        table->info = nullptr;
        return table;
    }
    // The members are read from the dual interface's vtable description; hosts get the
    // dispinterface view.
    HREFTYPE ref = 0;
    ITypeInfo* vt = nullptr;
    if (FAILED(table->info->GetRefTypeOfImplType(-1, &ref)) ||
        FAILED(table->info->GetRefTypeInfo(ref, &vt))) {
        vt = table->info;
        vt->AddRef();
    }
    TYPEATTR* attr = nullptr;
    if (FAILED(vt->GetTypeAttr(&attr))) {
        vt->Release();
        return table;
    }
    for (UINT f = 0; f < attr->cFuncs; ++f) {
        FUNCDESC* fd = nullptr;
        if (FAILED(vt->GetFuncDesc(f, &fd))) continue;
        // The interface's own members: IDispatch's carry no positive number.
        if (fd->memid >= 1) AddMember(vt, *fd, *table);
        vt->ReleaseFuncDesc(fd);
    }
    vt->ReleaseTypeAttr(attr);
    vt->Release();
    if (ci.paramNames)
        for (const ParamName* p = ci.paramNames; p->name; ++p)
            table->names.push_back({p->name, p->id});
    return table;
}

const Table& TableOf(const ClassInfo& ci) {
    static std::mutex mutex;
    static std::vector<std::pair<const ClassInfo*, Table*>> tables;
    std::lock_guard<std::mutex> guard(mutex);
    for (auto& t : tables)
        if (t.first == &ci) return *t.second;
    tables.emplace_back(&ci, BuildTable(ci));
    return *tables.back().second;
}

const Member* Find(const Table& t, DISPID id, INVOKEKIND kind) {
    for (const Member& m : t.members)
        if (m.id == id && m.kind == kind) return &m;
    return nullptr;
}

bool Known(const Table& t, DISPID id) {
    for (const Member& m : t.members)
        if (m.id == id) return true;
    return false;
}

// Calls a member through the interface's vtable with arguments already in their declared types.
HRESULT CallMember(void* itf, const Member& m, VARIANT* args, VARIANT* result) {
    const std::size_t n = m.inTypes.size();
    std::vector<VARTYPE> types(m.inTypes);
    std::vector<VARIANTARG*> argv;
    for (std::size_t i = 0; i < n; ++i) argv.push_back(&args[i]);
    VARIANT ret;
    VariantInit(&ret);
    BSTR retBstr = nullptr;
    LONG retLong = 0;
    SHORT retShort = 0;
    VARIANT retArg;
    VariantInit(&retArg);
    if (m.retType != VT_EMPTY) {
        retArg.vt = static_cast<VARTYPE>(VT_BYREF | m.retType);
        switch (m.retType) {
            case VT_BSTR: retArg.pbstrVal = &retBstr; break;
            case VT_I4: retArg.plVal = &retLong; break;
            case VT_I2: retArg.piVal = &retShort; break;
            default: return DISP_E_BADVARTYPE;
        }
        types.push_back(retArg.vt);
        argv.push_back(&retArg);
    }
    VARIANT hr;
    VariantInit(&hr);
    HRESULT call = DispCallFunc(itf, m.vtableOffset, CC_STDCALL, VT_ERROR,
                                static_cast<UINT>(argv.size()), types.data(), argv.data(), &hr);
    if (FAILED(call)) return call;
    const HRESULT member = hr.scode;
    if (m.retType == VT_EMPTY) return member;
    if (result && SUCCEEDED(member)) {
        result->vt = m.retType;
        switch (m.retType) {
            case VT_BSTR: result->bstrVal = retBstr; retBstr = nullptr; break;
            case VT_I4: result->lVal = retLong; break;
            default: result->iVal = retShort; break;
        }
    }
    SysFreeString(retBstr);
    return member;
}

}  // namespace

namespace dispatch {

HRESULT GetTypeInfoCount(const ClassInfo& info, UINT* count) {
    if (!count) return E_POINTER;
    *count = TableOf(info).info ? 1 : 0;
    return S_OK;
}

HRESULT GetTypeInfo(const ClassInfo& info, UINT index, ITypeInfo** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* t = TableOf(info).info;
    if (!t) return TYPE_E_ELEMENTNOTFOUND;
    t->AddRef();
    *result = t;
    return S_OK;
}

HRESULT GetIDsOfNames(const ClassInfo& info, LPOLESTR* names, UINT count, DISPID* ids) {
    if (count == 0) return S_OK;
    if (!names || !ids) return E_POINTER;
    const Table& t = TableOf(info);
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        bool found = false;
        for (const Name& n : t.names) {
            if (names[i] && CompareStringOrdinal(names[i], -1, n.text.c_str(),
                                                 static_cast<int>(n.text.size()),
                                                 TRUE) == CSTR_EQUAL) {
                ids[i] = n.id;
                found = true;
                break;
            }
        }
        if (!found) {
            hr = DISP_E_UNKNOWNNAME;
            break;
        }
    }
    return hr;
}

namespace {

// The arguments' order: order[k] is the index into rgvarg of the argument at parameter
// position k. Named arguments go to their positions (a class without parameter names takes
// only the property-put value named); the unnamed ones, last in rgvarg first, fill the rest.
HRESULT ArgumentOrder(const ClassInfo& info, const DISPPARAMS& params, std::vector<UINT>& order, UINT* argErr) {
    const UINT cArgs = params.cArgs, cNamed = params.cNamedArgs;
    order.assign(cArgs, UINT(-1));
    if (!info.paramNames) {
        if (cNamed > 1 || (cNamed == 1 && params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
            return DISP_E_NONAMEDARGS;
        for (UINT k = 0; k < cArgs; ++k) order[k] = cArgs - 1 - k;
        return S_OK;
    }
    UINT first = 0;
    if (cNamed > 0 && params.rgdispidNamedArgs[0] == DISPID_PROPERTYPUT) first = 1;
    for (UINT i = first; i < cNamed; ++i) {
        const DISPID pos = params.rgdispidNamedArgs[i];
        if (pos < 0 || static_cast<UINT>(pos) >= cArgs || order[pos] != UINT(-1)) {
            if (argErr) *argErr = i;
            return DISP_E_PARAMNOTFOUND;
        }
        order[pos] = i;
    }
    // A leading property-put value counts as the last unnamed argument.
    std::vector<UINT> unnamed;
    for (UINT i = cArgs; i > cNamed; --i) unnamed.push_back(i - 1);
    if (first == 1) unnamed.push_back(0);
    std::size_t u = 0;
    for (UINT k = 0; k < cArgs; ++k)
        if (order[k] == UINT(-1)) order[k] = unnamed[u++];
    return S_OK;
}

// The member a call reaches: the method `id`, else its property accessor for `flags`.
const Member* CalledMember(const Table& t, DISPID id, WORD flags) {
    if (const Member* m = Find(t, id, INVOKE_FUNC)) return m;
    if (!Known(t, id)) return nullptr;
    if (flags & DISPATCH_PROPERTYGET) return Find(t, id, INVOKE_PROPERTYGET);
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) return Find(t, id, INVOKE_PROPERTYPUT);
    return nullptr;
}

// Each argument, by reference or not, converted to its parameter's type into `args`.
HRESULT ConvertArguments(const Member& m, const DISPPARAMS& params, const std::vector<UINT>& order,
                         std::vector<VARIANT>& args, UINT* argErr) {
    for (std::size_t k = 0; k < args.size(); ++k) {
        VARIANT* src = &params.rgvarg[order[k]];
        if (src->vt == (VT_BYREF | VT_VARIANT) && src->pvarVal) src = src->pvarVal;
        const VARTYPE want = m.inTypes[k];
        HRESULT c = src->vt == want ? VariantCopy(&args[k], src) : VariantChangeType(&args[k], src, 0, want);
        if (FAILED(c) || args[k].vt != want) {
            if (argErr) *argErr = order[k];
            return DISP_E_TYPEMISMATCH;
        }
    }
    return S_OK;
}

// The failure `hr` of a member and the thread's error information, for the caller.
void FillException(HRESULT hr, EXCEPINFO& excep) {
    ZeroMemory(&excep, sizeof excep);
    excep.scode = hr;
    IErrorInfo* error = nullptr;
    if (GetErrorInfo(0, &error) == S_OK && error) {
        error->GetSource(&excep.bstrSource);
        error->GetDescription(&excep.bstrDescription);
        error->GetHelpFile(&excep.bstrHelpFile);
        error->GetHelpContext(&excep.dwHelpContext);
        error->Release();
    }
}

}  // namespace

HRESULT Invoke(const ClassInfo& info, void* itf, DISPID id, WORD flags, DISPPARAMS* params,
               VARIANT* result, EXCEPINFO* excep, UINT* argErr) {
    if (!params) return DISP_E_BADVARTYPE;
    const Table& t = TableOf(info);
    const UINT cArgs = params->cArgs;
    if (cArgs > t.widest) return DISP_E_BADPARAMCOUNT;
    if (cArgs > 0 && !params->rgvarg) return E_INVALIDARG;
    const UINT cNamed = params->cNamedArgs;
    if (cNamed > cArgs || (cNamed > 0 && !params->rgdispidNamedArgs)) return E_INVALIDARG;
    std::vector<UINT> order;
    if (const HRESULT hr = ArgumentOrder(info, *params, order, argErr); FAILED(hr)) return hr;

    if (result) VariantInit(result);
    const Member* m = CalledMember(t, id, flags);
    if (!m) return DISP_E_MEMBERNOTFOUND;
    if (cArgs != m->inTypes.size()) return DISP_E_BADPARAMCOUNT;

    std::vector<VARIANT> args(cArgs);
    for (VARIANT& v : args) VariantInit(&v);
    HRESULT hr = ConvertArguments(*m, *params, order, args, argErr);
    if (SUCCEEDED(hr)) {
        hr = CallMember(itf, *m, args.data(), result);
        if (FAILED(hr) && excep) FillException(hr, *excep);
    }
    for (VARIANT& v : args) VariantClear(&v);
    return hr;
}

HRESULT GetClassInfo(const ClassInfo& info, ITypeInfo** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    ITypeLib* lib = TypeLibrary();
    if (!lib) return E_FAIL;
    return lib->GetTypeInfoOfGuid(*info.clsid, result);
}

}  // namespace dispatch

// ---------------------------------------------------------------------------------------
// Class objects

namespace {

class ClassFactory : public IClassFactory {
public:
    explicit ClassFactory(const ClassEntry& entry) : entry_(entry) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The class objects live as long as the module; their references lock the server.
    STDMETHODIMP_(ULONG) AddRef() override {
        ModuleAddRef();
        return 2;
    }
    STDMETHODIMP_(ULONG) Release() override {
        ModuleRelease();
        return 1;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer && !IsEqualIID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
        IUnknown* inner = entry_.make(outer);
        if (!inner) return E_OUTOFMEMORY;
        inner->AddRef();
        const HRESULT hr = inner->QueryInterface(riid, out);
        inner->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock)
            ModuleAddRef();
        else
            ModuleRelease();
        return S_OK;
    }

private:
    const ClassEntry& entry_;
};

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    std::size_t count = 0;
    const ClassEntry* classes = Classes(&count);
    static std::vector<ClassFactory*> factories = [&] {
        std::vector<ClassFactory*> f;
        for (std::size_t i = 0; i < count; ++i) f.push_back(new ClassFactory(classes[i]));
        return f;
    }();
    for (std::size_t i = 0; i < count; ++i)
        if (IsEqualCLSID(clsid, *classes[i].info->clsid))
            return factories[i]->QueryInterface(riid, out);
    return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace tarnvik
