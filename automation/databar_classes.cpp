// The DataBar and Pharmacode classes.
#include "classes.h"
#include "class_support.h"

namespace tarnvik {

namespace {

// Font text of a symbology whose encoder this build does not carry yet.
std::wstring NotYet(BSTR) { return std::wstring(); }

const ParamName kMedicalParams[] = {
    {L"strToEncode", 0}, {L"strOutput", 1}, {L"nOption", 0}, {nullptr, 0}};

}  // namespace

const ClassInfo kDatabarInfo = {L"Databar", &CLSID_CDatabar, &IID_IDatabar, nullptr};
const ClassInfo kMedicalInfo = {L"Medical", &CLSID_CMedical, &IID_IMedical, kMedicalParams};

class CDatabar : public AutomationObject<IDatabar> {
public:
    explicit CDatabar(IUnknown* outer) : AutomationObject(outer, kDatabarInfo) {}
    STDMETHODIMP SetCRLF(VARIANT_BOOL v) override {
        SetBoolFlag(crlf_, v);
        return S_OK;
    }
    STDMETHODIMP Databar14(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP DatabarStack(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP DatabarStkOmni(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP DatabarLtd(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP DatabarExp(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP DatabarExpStk(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP DatabarExpStkCR(BSTR in, LONG, BSTR* out) override {
        return Whole(NotYet(in), out);
    }

private:
    long crlf_ = 1;
};

class CMedical : public AutomationObject<IMedical> {
public:
    explicit CMedical(IUnknown* outer) : AutomationObject(outer, kMedicalInfo) {}
    STDMETHODIMP Pharmaone(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP Pharmatwo(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP SetCRLF(VARIANT_BOOL v) override {
        SetBoolFlag(crlf_, v);
        return S_OK;
    }

private:
    long crlf_ = 1;
};

const ClassEntry kDatabarEntry = {&kDatabarInfo, &Make<CDatabar>};
const ClassEntry kMedicalEntry = {&kMedicalInfo, &Make<CMedical>};

}  // namespace tarnvik
