#include "SpreadsheetImport.h"

#include <objbase.h>
#include <oleauto.h>

#include <climits>
#include <initializer_list>
#include <utility>

namespace {

// An automation object owned by one holder; released with it.
class Dispatch {
public:
    Dispatch() = default;
    explicit Dispatch(IDispatch* object) : m_object(object) {}
    Dispatch(Dispatch&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    Dispatch& operator=(Dispatch&& other) noexcept {
        Reset(std::exchange(other.m_object, nullptr));
        return *this;
    }
    ~Dispatch() { Reset(nullptr); }
    IDispatch* Get() const { return m_object; }
    IDispatch* Detach() { return std::exchange(m_object, nullptr); }
    explicit operator bool() const { return m_object != nullptr; }

private:
    void Reset(IDispatch* object) {
        if (m_object) m_object->Release();
        m_object = object;
    }
    IDispatch* m_object = nullptr;
};

class Variant {
public:
    Variant() { ::VariantInit(&v); }
    ~Variant() { ::VariantClear(&v); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT v;
};

// The one late-bound call: member `name` of `object` with `flags` and positional arguments in
// their natural order. The exception text a failing member hands back is freed here.
HRESULT Call(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* result,
             std::initializer_list<VARIANT> args = {}) {
    if (!object) return E_POINTER;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    VARIANT reversed[4];
    UINT count = 0;
    for (auto it = args.end(); it != args.begin() && count < 4;) reversed[count++] = *--it;
    DISPPARAMS params{count ? reversed : nullptr, nullptr, count, 0};
    EXCEPINFO error{};
    UINT badArg = 0;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &error, &badArg);
    ::SysFreeString(error.bstrSource);
    ::SysFreeString(error.bstrDescription);
    ::SysFreeString(error.bstrHelpFile);
    return hr;
}

VARIANT Long(long value) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT Bool(bool value) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

// A borrowed string argument: the BSTR stays owned by its caller.
VARIANT Text(BSTR value) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = value;
    return v;
}

// The object that a property or method hands back; empty when the call failed or gave none.
Dispatch GetObject(IDispatch* object, const wchar_t* name, WORD flags,
                   std::initializer_list<VARIANT> args = {}) {
    Variant result;
    if (FAILED(Call(object, name, flags, &result.v, args)) || result.v.vt != VT_DISPATCH)
        return {};
    Dispatch got(result.v.pdispVal);
    result.v.vt = VT_EMPTY;  // the reference moved into `got`
    return got;
}

// An owned BSTR.
class Bstr {
public:
    explicit Bstr(const wchar_t* text) : b(::SysAllocString(text)) {}
    ~Bstr() { ::SysFreeString(b); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR b;
};

}  // namespace

SpreadsheetSession::SpreadsheetSession(const wchar_t* path) {
    m_init = ::CoInitialize(nullptr);
    CLSID clsid;
    if (FAILED(::CLSIDFromProgID(L"Excel.Application", &clsid)) ||
        FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(&m_app)))) {
        m_app = nullptr;
        return;
    }
    m_status = Status::NotOpened;
    Dispatch books = GetObject(m_app, L"Workbooks", DISPATCH_PROPERTYGET);
    Bstr file(path);
    m_book = GetObject(books.Get(), L"Open", DISPATCH_METHOD, {Text(file.b)}).Detach();
    Dispatch sheets = GetObject(m_book, L"Worksheets", DISPATCH_PROPERTYGET);
    m_sheet = GetObject(sheets.Get(), L"Item", DISPATCH_PROPERTYGET, {Long(1)}).Detach();
    if (m_sheet) m_status = Status::Ready;
}

SpreadsheetSession::~SpreadsheetSession() {
    if (m_sheet) m_sheet->Release();
    if (m_book) {
        Variant ignored;
        Call(m_book, L"Close", DISPATCH_METHOD, &ignored.v, {Bool(false)});  // SaveChanges
        m_book->Release();
    }
    if (m_app) {
        Variant ignored;
        Call(m_app, L"Quit", DISPATCH_METHOD, &ignored.v);
        m_app->Release();
    }
    if (SUCCEEDED(m_init)) ::CoUninitialize();
}

// The last used column or row: the used range need not start at A1, so its first column or
// row is added to its count.
bool SpreadsheetSession::LastUsed(const wchar_t* part, const wchar_t* first, long& last) {
    Dispatch used = GetObject(m_sheet, L"UsedRange", DISPATCH_PROPERTYGET);
    Dispatch lines = GetObject(used.Get(), part, DISPATCH_PROPERTYGET);
    Variant n, start;
    if (!lines || FAILED(Call(lines.Get(), L"Count", DISPATCH_PROPERTYGET, &n.v)) ||
        FAILED(::VariantChangeType(&n.v, &n.v, 0, VT_I4)) ||
        FAILED(Call(used.Get(), first, DISPATCH_PROPERTYGET, &start.v)) ||
        FAILED(::VariantChangeType(&start.v, &start.v, 0, VT_I4)) || n.v.lVal < 0 || start.v.lVal < 1 ||
        n.v.lVal > LONG_MAX - start.v.lVal)
        return false;
    last = start.v.lVal + n.v.lVal - 1;
    return true;
}

bool SpreadsheetSession::UsedColumns(long& last) { return LastUsed(L"Columns", L"Column", last); }
bool SpreadsheetSession::UsedRows(long& last) { return LastUsed(L"Rows", L"Row", last); }

bool SpreadsheetSession::CellText(const std::wstring& address, std::wstring& text) {
    Bstr at(address.c_str());
    Dispatch cell = GetObject(m_sheet, L"Range", DISPATCH_PROPERTYGET, {Text(at.b)});
    Variant value;
    if (!cell || FAILED(Call(cell.Get(), L"Value", DISPATCH_PROPERTYGET, &value.v))) return false;
    // Numbers, dates and truth values as the spreadsheet's text conversion gives them; a value
    // with no text form (an error value) reads as an empty cell.
    if (value.v.vt == VT_EMPTY || FAILED(::VariantChangeType(&value.v, &value.v, 0, VT_BSTR))) {
        text.clear();
        return true;
    }
    text.assign(value.v.bstrVal, ::SysStringLen(value.v.bstrVal));
    return true;
}
