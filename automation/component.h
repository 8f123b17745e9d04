// A small component layer for the automation classes: module reference counting, the
// process-wide encode lock, aggregatable objects with a dual interface and IProvideClassInfo,
// the class objects, and the dispatch frame driven by the type library.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <new>
#include <string>

#include "pieces.h"

namespace tarnvik {

// Objects and server locks alive in the module.
void ModuleAddRef();
void ModuleRelease();
LONG ModuleCount();

HMODULE ModuleHandle();
std::wstring ModulePath();

// The type library embedded in the module, loaded once (null when it cannot be loaded).
ITypeLib* TypeLibrary();

// Held for the length of each encode: the encoders share module-wide buffers, and objects
// of different apartments must not encode at the same time.
class EncodeLock {
public:
    EncodeLock();
    ~EncodeLock();
    EncodeLock(const EncodeLock&) = delete;
    EncodeLock& operator=(const EncodeLock&) = delete;
};

// Static description of one automation class.
struct ParamName {
    const wchar_t* name;
    DISPID id;
};
struct ClassInfo {
    const wchar_t* name;  // class name without its "C" prefix, e.g. L"Linear"
    const CLSID* clsid;
    const IID* iid;
    const ParamName* paramNames;  // null-terminated list, or null: no named arguments
};

// The dispatch side of a dual interface, the same for every class.
namespace dispatch {
HRESULT GetTypeInfoCount(const ClassInfo& info, UINT* count);
HRESULT GetTypeInfo(const ClassInfo& info, UINT index, ITypeInfo** result);
HRESULT GetIDsOfNames(const ClassInfo& info, LPOLESTR* names, UINT count, DISPID* ids);
HRESULT Invoke(const ClassInfo& info, void* itf, DISPID id, WORD flags, DISPPARAMS* params,
               VARIANT* result, EXCEPINFO* excep, UINT* argErr);
HRESULT GetClassInfo(const ClassInfo& info, ITypeInfo** result);
}  // namespace dispatch

// Results of the encode methods.
HRESULT ReturnText(const wchar_t* text, BSTR* out);
HRESULT ReturnText(const std::wstring& text, BSTR* out);
// The text of a BSTR argument; null counts as empty.
std::wstring ArgText(BSTR text);

// An aggregatable automation object with the dual interface Itf.
template <class Itf>
class AutomationObject : public Itf, public IProvideClassInfo {
public:
    AutomationObject(IUnknown* outer, const ClassInfo& info)
        : info_(info), inner_(this), outer_(outer ? outer : &inner_) {
        ModuleAddRef();
    }
    virtual ~AutomationObject() { ModuleRelease(); }
    AutomationObject(const AutomationObject&) = delete;
    AutomationObject& operator=(const AutomationObject&) = delete;

    IUnknown* inner() { return &inner_; }

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        return outer_->QueryInterface(riid, out);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return outer_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return outer_->Release(); }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        return dispatch::GetTypeInfoCount(info_, count);
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** result) override {
        return dispatch::GetTypeInfo(info_, index, result);
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return dispatch::GetIDsOfNames(info_, names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override {
        return dispatch::Invoke(info_, static_cast<Itf*>(this), id, flags, params, result, excep,
                                argErr);
    }
    STDMETHODIMP GetClassInfo(ITypeInfo** result) override {
        return dispatch::GetClassInfo(info_, result);
    }

private:
    // The object's own IUnknown: it alone counts references and answers QueryInterface.
    class Inner : public IUnknown {
    public:
        explicit Inner(AutomationObject* owner) : owner_(owner) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
            if (!out) return E_POINTER;
            *out = nullptr;
            if (IsEqualIID(riid, IID_IUnknown)) {
                *out = static_cast<IUnknown*>(this);
            } else if (IsEqualIID(riid, *owner_->info_.iid) || IsEqualIID(riid, IID_IDispatch)) {
                *out = static_cast<Itf*>(owner_);
            } else if (IsEqualIID(riid, IID_IProvideClassInfo)) {
                *out = static_cast<IProvideClassInfo*>(owner_);
            } else {
                return E_NOINTERFACE;
            }
            static_cast<IUnknown*>(*out)->AddRef();
            return S_OK;
        }
        STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
        STDMETHODIMP_(ULONG) Release() override {
            const ULONG left = InterlockedDecrement(&refs_);
            if (left == 0) delete owner_;
            return left;
        }

    private:
        AutomationObject* owner_;
        LONG refs_ = 0;
    };

    const ClassInfo& info_;
    Inner inner_;
    IUnknown* outer_;
};

// Makes one object of a class: `make(outer)` returns the new object's own IUnknown.
using MakeFn = IUnknown* (*)(IUnknown* outer);

template <class T>
IUnknown* Make(IUnknown* outer) {
    T* object = new (std::nothrow) T(outer);
    return object ? object->inner() : nullptr;
}

struct ClassEntry {
    const ClassInfo* info;
    MakeFn make;
};

// The eleven classes of the module.
const ClassEntry* Classes(std::size_t* count);

HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** out);

}  // namespace tarnvik
