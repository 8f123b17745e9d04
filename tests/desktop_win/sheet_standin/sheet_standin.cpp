#include "sheet_standin.h"

#include <windows.h>
#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

LONG g_live = 0;   // objects alive
LONG g_locks = 0;  // LockServer count
int g_nextId = 1;

std::wstring Env(const wchar_t* name) {
    wchar_t value[1024] = L"";
    DWORD n = ::GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? value : L"";
}

bool FailureAsked(const wchar_t* what) { return Env(L"KESTRIVO_SHEET_FAIL") == what; }

std::string Utf8(const std::wstring& text) {
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text) {
    int n = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

void Log(const std::wstring& line) {
    std::wstring path = Env(L"KESTRIVO_SHEET_LOG");
    if (path.empty()) return;
    if (std::FILE* f = ::_wfopen(path.c_str(), L"ab")) {
        std::string bytes = Utf8(line) + "\n";
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

// An A1 address: column (1 = A) and row; false for anything else.
bool ParseAddress(const std::wstring& a, long& column, long& row) {
    std::size_t i = 0;
    column = 0;
    while (i < a.size() && a[i] >= L'A' && a[i] <= L'Z' && column < 100000) column = column * 26 + (a[i++] - L'A' + 1);
    if (i == 0 || i == a.size()) return false;
    row = 0;
    for (; i < a.size(); ++i) {
        if (a[i] < L'0' || a[i] > L'9' || row > 10000000) return false;
        row = row * 10 + (a[i] - L'0');
    }
    return row > 0;
}

struct Cell {
    VARTYPE type = VT_EMPTY;  // VT_BSTR, VT_R8 or VT_EMPTY
    std::wstring text;
    double number = 0;
};

struct Book {
    std::map<std::pair<long, long>, Cell> cells;  // (row, column)
    long rows = 0, columns = 0;        // the last used row and column
    long firstRow = 0, firstColumn = 0;  // the first ones (0 while no cell is used)
    bool closed = false;
};

// Reads a workbook file; false when it cannot be read or holds a malformed line.
bool LoadBook(const std::wstring& path, Book& book) {
    std::FILE* f = ::_wfopen(path.c_str(), L"rb");
    if (!f) return false;
    std::string all;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) all.append(chunk, n);
    std::fclose(f);
    std::size_t at = 0;
    while (at < all.size()) {
        std::size_t end = all.find('\n', at);
        if (end == std::string::npos) end = all.size();
        std::string line = all.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::size_t s1 = line.find(' ');
        if (s1 == std::string::npos) return false;
        std::size_t s2 = line.find(' ', s1 + 1);
        std::string type = line.substr(s1 + 1, s2 == std::string::npos ? std::string::npos : s2 - s1 - 1);
        std::string value = s2 == std::string::npos ? "" : line.substr(s2 + 1);
        long column = 0, row = 0;
        if (!ParseAddress(Wide(line.substr(0, s1)), column, row)) return false;
        Cell cell;
        if (type == "text") {
            cell.type = VT_BSTR;
            cell.text = Wide(value);
        } else if (type == "number") {
            cell.type = VT_R8;
            char* stop = nullptr;
            cell.number = std::strtod(value.c_str(), &stop);
            if (stop == value.c_str()) return false;
        } else if (type != "empty") {
            return false;
        }
        book.cells[{row, column}] = cell;
        book.rows = std::max(book.rows, row);
        book.columns = std::max(book.columns, column);
        book.firstRow = book.firstRow ? std::min(book.firstRow, row) : row;
        book.firstColumn = book.firstColumn ? std::min(book.firstColumn, column) : column;
    }
    return true;
}

// One automation object: reference counted, logged as it comes and goes.
class Object : public IDispatch {
public:
    explicit Object(const wchar_t* type) : m_name(std::wstring(type) + L"#" + std::to_wstring(g_nextId++)) {
        ::InterlockedIncrement(&g_live);
        Log(L"new " + m_name);
    }
    virtual ~Object() {
        Log(L"free " + m_name);
        ::InterlockedDecrement(&g_live);
    }
    const std::wstring& Name() const { return m_name; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG n = ::InterlockedDecrement(&m_refs);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (count < 1 || !names || !ids) return E_INVALIDARG;
        const std::vector<std::wstring> members = Members();
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        for (std::size_t m = 0; m < members.size(); ++m)
            if (::lstrcmpiW(members[m].c_str(), names[0]) == 0) {
                ids[0] = static_cast<DISPID>(m + 1);
                return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
            }
        Log(m_name + L".GetIDsOfNames(" + names[0] + L") -> unknown");
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* error, UINT*) override {
        const std::vector<std::wstring> members = Members();
        if (id < 1 || static_cast<std::size_t>(id) > members.size()) return DISP_E_MEMBERNOTFOUND;
        if (params && params->cNamedArgs) return DISP_E_NONAMEDARGS;
        // Positional arguments come last first.
        std::vector<VARIANT*> args;
        if (params)
            for (UINT i = params->cArgs; i > 0; --i) args.push_back(&params->rgvarg[i - 1]);
        if (result) ::VariantInit(result);
        return Call(members[static_cast<std::size_t>(id - 1)], flags, args, result, error);
    }

protected:
    virtual std::vector<std::wstring> Members() const = 0;
    virtual HRESULT Call(const std::wstring& member, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result,
                         EXCEPINFO* error) = 0;

    // A failure the way the application reports one: DISP_E_EXCEPTION with a description.
    HRESULT Raise(EXCEPINFO* error, const std::wstring& call, const wchar_t* description) {
        Log(m_name + L"." + call + L" -> exception: " + description);
        if (error) {
            *error = EXCEPINFO{};
            error->scode = static_cast<SCODE>(0x800A03EC);
            error->bstrSource = ::SysAllocString(L"Microsoft Excel");
            error->bstrDescription = ::SysAllocString(description);
        }
        return DISP_E_EXCEPTION;
    }
    static HRESULT ReturnObject(VARIANT* result, Object* object) {
        if (!result) {
            object->Release();
            return S_OK;
        }
        result->vt = VT_DISPATCH;
        result->pdispVal = object;
        return S_OK;
    }
    void Logged(const std::wstring& call, const std::wstring& outcome) const { Log(m_name + L"." + call + L" -> " + outcome); }

private:
    LONG m_refs = 1;
    std::wstring m_name;
};

bool IsGet(WORD flags) { return (flags & DISPATCH_PROPERTYGET) != 0; }
bool IsMethod(WORD flags) { return (flags & DISPATCH_METHOD) != 0; }

// A whole number argument; false for other types.
bool LongArg(const VARIANT* v, long& out) {
    VARIANT copy;
    ::VariantInit(&copy);
    if (v->vt != VT_I4 && v->vt != VT_I2 && v->vt != VT_R8) return false;
    if (FAILED(::VariantChangeType(&copy, const_cast<VARIANT*>(v), 0, VT_I4))) return false;
    out = copy.lVal;
    return true;
}

// An object that looks at one workbook.
class BookObject : public Object {
public:
    BookObject(const wchar_t* type, std::shared_ptr<Book> book) : Object(type), m_book(std::move(book)) {}

protected:
    std::shared_ptr<Book> m_book;
};

class Range : public BookObject {
public:
    enum class Kind { Cells, Columns, Rows };
    Range(std::shared_ptr<Book> book, long column, long row, long columns, long rows, Kind kind)
        : BookObject(L"Range", std::move(book)), m_column(column), m_row(row), m_columns(columns), m_rows(rows),
          m_kind(kind) {}

protected:
    std::vector<std::wstring> Members() const override {
        return {L"Columns", L"Rows", L"Count", L"Row", L"Column", L"Value"};
    }
    HRESULT Call(const std::wstring& member, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result,
                 EXCEPINFO* error) override {
        if (!IsGet(flags) || !args.empty()) return DISP_E_BADPARAMCOUNT;
        if (m_book->closed) return Raise(error, member, L"The workbook is closed.");
        if (member == L"Columns" || member == L"Rows") {
            auto* part = new Range(m_book, m_column, m_row, m_columns, m_rows,
                                   member == L"Columns" ? Kind::Columns : Kind::Rows);
            Logged(member, part->Name());
            return ReturnObject(result, part);
        }
        if (member == L"Count" || member == L"Row" || member == L"Column") {
            long n = member == L"Row"      ? m_row
                     : member == L"Column" ? m_column
                     : m_kind == Kind::Columns ? m_columns
                     : m_kind == Kind::Rows    ? m_rows
                                               : m_columns * m_rows;
            Logged(member, std::to_wstring(n));
            if (result) {
                result->vt = VT_I4;
                result->lVal = n;
            }
            return S_OK;
        }
        // Value: of one cell only.
        if (m_columns != 1 || m_rows != 1) return Raise(error, member, L"Value of several cells is not offered.");
        if (FailureAsked(L"read")) return Raise(error, member, L"The cell cannot be read.");
        auto it = m_book->cells.find({m_row, m_column});
        Cell cell = it == m_book->cells.end() ? Cell{} : it->second;
        if (cell.type == VT_BSTR) {
            Logged(member, L"text " + cell.text);
            if (result) {
                result->vt = VT_BSTR;
                result->bstrVal = ::SysAllocStringLen(cell.text.data(), static_cast<UINT>(cell.text.size()));
            }
        } else if (cell.type == VT_R8) {
            Logged(member, L"number");
            if (result) {
                result->vt = VT_R8;
                result->dblVal = cell.number;
            }
        } else {
            Logged(member, L"empty");
        }
        return S_OK;
    }

private:
    long m_column, m_row, m_columns, m_rows;
    Kind m_kind;
};

class Worksheet : public BookObject {
public:
    explicit Worksheet(std::shared_ptr<Book> book) : BookObject(L"Worksheet", std::move(book)) {}

protected:
    std::vector<std::wstring> Members() const override { return {L"UsedRange", L"Range"}; }
    HRESULT Call(const std::wstring& member, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result,
                 EXCEPINFO* error) override {
        if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
        if (m_book->closed) return Raise(error, member, L"The workbook is closed.");
        if (member == L"UsedRange") {
            if (!args.empty()) return DISP_E_BADPARAMCOUNT;
            // As the spreadsheet gives it: from the first used cell to the last (A1 alone when
            // nothing is used).
            const long column = std::max(m_book->firstColumn, 1L), row = std::max(m_book->firstRow, 1L);
            auto* used = new Range(m_book, column, row, std::max(m_book->columns - column + 1, 1L),
                                   std::max(m_book->rows - row + 1, 1L), Range::Kind::Cells);
            Logged(member, used->Name());
            return ReturnObject(result, used);
        }
        if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
        if (args[0]->vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
        std::wstring address(args[0]->bstrVal, ::SysStringLen(args[0]->bstrVal));
        long column = 0, row = 0;
        if (!ParseAddress(address, column, row)) return Raise(error, L"Range(" + address + L")", L"Bad address.");
        auto* cell = new Range(m_book, column, row, 1, 1, Range::Kind::Cells);
        Logged(L"Range(" + address + L")", cell->Name());
        return ReturnObject(result, cell);
    }
};

class Sheets : public BookObject {
public:
    explicit Sheets(std::shared_ptr<Book> book) : BookObject(L"Sheets", std::move(book)) {}

protected:
    std::vector<std::wstring> Members() const override { return {L"Item"}; }
    HRESULT Call(const std::wstring&, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result,
                 EXCEPINFO* error) override {
        if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
        long index = 0;
        if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
        if (!LongArg(args[0], index)) return DISP_E_TYPEMISMATCH;
        if (index != 1) return Raise(error, L"Item(" + std::to_wstring(index) + L")", L"No such sheet.");
        auto* sheet = new Worksheet(m_book);
        Logged(L"Item(1)", sheet->Name());
        return ReturnObject(result, sheet);
    }
};

class Workbook : public BookObject {
public:
    explicit Workbook(std::shared_ptr<Book> book) : BookObject(L"Workbook", std::move(book)) {}

protected:
    std::vector<std::wstring> Members() const override { return {L"Worksheets", L"Close"}; }
    HRESULT Call(const std::wstring& member, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result,
                 EXCEPINFO* error) override {
        if (m_book->closed) return Raise(error, member, L"The workbook is closed.");
        if (member == L"Worksheets") {
            if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
            if (!args.empty()) return DISP_E_BADPARAMCOUNT;
            auto* sheets = new Sheets(m_book);
            Logged(member, sheets->Name());
            return ReturnObject(result, sheets);
        }
        if (!IsMethod(flags)) return DISP_E_MEMBERNOTFOUND;
        // Close(SaveChanges): without the argument the application would ask the user.
        std::wstring saving = L"not given";
        if (!args.empty()) {
            if (args[0]->vt != VT_BOOL) return DISP_E_TYPEMISMATCH;
            saving = args[0]->boolVal ? L"True" : L"False";
        }
        m_book->closed = true;
        Logged(L"Close(SaveChanges=" + saving + L")", L"closed");
        return S_OK;
    }
};

class Workbooks : public Object {
public:
    explicit Workbooks(std::shared_ptr<bool> quit) : Object(L"Workbooks"), m_quit(std::move(quit)) {}

protected:
    std::vector<std::wstring> Members() const override { return {L"Open"}; }
    HRESULT Call(const std::wstring&, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result,
                 EXCEPINFO* error) override {
        if (!IsMethod(flags)) return DISP_E_MEMBERNOTFOUND;
        if (args.empty()) return DISP_E_BADPARAMCOUNT;
        if (args[0]->vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
        std::wstring path(args[0]->bstrVal, ::SysStringLen(args[0]->bstrVal));
        if (*m_quit) return Raise(error, L"Open(" + path + L")", L"The application has quit.");
        auto book = std::make_shared<Book>();
        if (FailureAsked(L"open") || !LoadBook(path, *book))
            return Raise(error, L"Open(" + path + L")", L"The file could not be found or read.");
        auto* opened = new Workbook(book);
        Logged(L"Open(" + path + L")", opened->Name());
        return ReturnObject(result, opened);
    }

private:
    std::shared_ptr<bool> m_quit;
};

class Application : public Object {
public:
    Application() : Object(L"Application") {}
    ~Application() override {
        if (m_books) m_books->Release();
    }

protected:
    std::vector<std::wstring> Members() const override { return {L"Workbooks", L"Quit"}; }
    HRESULT Call(const std::wstring& member, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result,
                 EXCEPINFO* error) override {
        if (member == L"Quit") {
            if (!IsMethod(flags) || !args.empty()) return DISP_E_BADPARAMCOUNT;
            *m_quit = true;
            Logged(member, L"quit");
            return S_OK;
        }
        if (member == L"Workbooks") {
            if (!IsGet(flags) || !args.empty()) return DISP_E_BADPARAMCOUNT;
            if (*m_quit) return Raise(error, member, L"The application has quit.");
            // The collection keeps its own reference in the application, as the real one does.
            if (!m_books) m_books = new Workbooks(m_quit);
            m_books->AddRef();
            Logged(member, m_books->Name());
            return ReturnObject(result, m_books);
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    std::shared_ptr<bool> m_quit = std::make_shared<bool>(false);
    Workbooks* m_books = nullptr;
};

class Factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        if (FailureAsked(L"create")) {
            Log(L"create -> refused");
            return CO_E_SERVER_EXEC_FAILURE;
        }
        auto* app = new Application();
        HRESULT hr = app->QueryInterface(iid, out);
        app->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            ::InterlockedIncrement(&g_locks);
        else
            ::InterlockedDecrement(&g_locks);
        return S_OK;
    }
};

Factory g_factory;

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (clsid != SheetStandInClsid) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return g_live == 0 && g_locks == 0 ? S_OK : S_FALSE; }
