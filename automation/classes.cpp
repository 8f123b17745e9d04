// The classes of the two-dimensional, stacked and postal symbologies: their properties, flags
// and methods. Their encoders join the server symbology by symbology; until then a method's
// font text is empty.
#include "classes.h"
#include "class_support.h"

namespace tarnvik {

namespace {

// Font text of a symbology whose encoder this build does not carry yet.
std::wstring NotYet(BSTR) { return std::wstring(); }

}  // namespace

#define TARNVIK_INFO(name, params) \
    const ClassInfo k##name##Info = {L"" #name, &CLSID_C##name, &IID_I##name, params};

TARNVIK_INFO(Datamatrix, nullptr)
TARNVIK_INFO(PDF417, nullptr)
TARNVIK_INFO(MicroPDF417, nullptr)
TARNVIK_INFO(QRCode, nullptr)
TARNVIK_INFO(MicroQRCode, nullptr)
TARNVIK_INFO(Aztec, nullptr)
TARNVIK_INFO(Maxicode, nullptr)
TARNVIK_INFO(Code16k, nullptr)
#undef TARNVIK_INFO

class CDatamatrix : public AutomationObject<IDatamatrix> {
public:
    explicit CDatamatrix(IUnknown* outer) : AutomationObject(outer, kDatamatrixInfo) {}
    STDMETHODIMP Encode(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP EncodeCR(BSTR in, LONG nIndex, LONG, LONG, LONG, BSTR* out) override {
        return PieceOf(NotYet(in), nIndex, out);
    }
    STDMETHODIMP SEMIT7(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP SetCRLF(SHORT nOption) override {
        crlf_ = nOption != 0 ? 1 : 0;
        return S_OK;
    }
    STDMETHODIMP get_Encodation(SHORT* v) override { return Get(encodation_, v); }
    STDMETHODIMP put_Encodation(SHORT v) override {
        encodation_ = v;
        return S_OK;
    }
    STDMETHODIMP get_Format(SHORT* v) override { return Get(format_, v); }
    STDMETHODIMP put_Format(SHORT v) override {
        if (v >= -1 && v <= 29) format_ = v;
        return S_OK;
    }
    STDMETHODIMP get_GS1(SHORT* v) override { return Get<SHORT>(gs1_ == 1 ? 1 : 0, v); }
    STDMETHODIMP put_GS1(SHORT v) override {
        gs1_ = v == 1 ? 1 : 0;
        return S_OK;
    }
    STDMETHODIMP FormulaNoForCR(BSTR in, LONG* out) override { return Count(NotYet(in), out); }
    STDMETHODIMP CMDM(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }

private:
    SHORT format_ = -1;
    SHORT encodation_ = 0;
    long crlf_ = 1;
    long gs1_ = 0;
};

class CPDF417 : public AutomationObject<IPDF417> {
public:
    explicit CPDF417(IUnknown* outer) : AutomationObject(outer, kPDF417Info) {}
    STDMETHODIMP Encode(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP EncodeCR(BSTR in, LONG nIndex, LONG, LONG, LONG, LONG, LONG, BSTR* out) override {
        return PieceOf(NotYet(in), nIndex, out);
    }
    STDMETHODIMP SetCRLF(VARIANT_BOOL v) override {
        SetBoolFlag(crlf_, v);
        return S_OK;
    }
    STDMETHODIMP put_SecurityLevel(LONG v) override {
        if (v >= 1 && v <= 9) security_ = v;
        return S_OK;
    }
    STDMETHODIMP put_Truncate(LONG v) override {
        if (v == 0 || v == 1) truncate_ = v;
        return S_OK;
    }
    STDMETHODIMP put_MaxRows(LONG v) override {
        if (v >= 0) maxRows_ = v;
        return S_OK;
    }
    STDMETHODIMP put_fixedColumns(LONG v) override {
        if (v >= 0) fixedColumns_ = v;
        return S_OK;
    }
    STDMETHODIMP put_CompactionMode(SHORT v) override {
        if (v >= 0 && v <= 3) compaction_ = v;
        return S_OK;
    }
    STDMETHODIMP FormulaNoForCR(BSTR in, LONG* out) override { return Count(NotYet(in), out); }

private:
    long crlf_ = 1, truncate_ = 0, security_ = 0, maxRows_ = 0, fixedColumns_ = 0,
         compaction_ = 0;
};

class CMicroPDF417 : public AutomationObject<IMicroPDF417> {
public:
    explicit CMicroPDF417(IUnknown* outer) : AutomationObject(outer, kMicroPDF417Info) {}
    STDMETHODIMP EncodeCR(BSTR in, LONG nIndex, BSTR* out) override {
        return PieceOf(NotYet(in), nIndex, out);
    }
    STDMETHODIMP SetCRLF(VARIANT_BOOL v) override {
        SetBoolFlag(crlf_, v);
        return S_OK;
    }
    STDMETHODIMP Encode(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP FormulaNoForCR(BSTR in, LONG* out) override { return Count(NotYet(in), out); }

private:
    long crlf_ = 1;
};

// QR Code and Micro QR share their interface layout.
template <class Itf>
class QRLike : public AutomationObject<Itf> {
public:
    QRLike(IUnknown* outer, const ClassInfo& info) : AutomationObject<Itf>(outer, info) {}
    STDMETHODIMP Encode(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP get_ECLevel(LONG* v) override { return Get<LONG>(ecLevel_, v); }
    STDMETHODIMP put_ECLevel(LONG v) override {
        if (v >= 0 && v <= 3) ecLevel_ = v;
        return S_OK;
    }
    STDMETHODIMP EncodeCR(BSTR in, LONG index, LONG, BSTR* out) override {
        return PieceOf(NotYet(in), index, out);
    }
    STDMETHODIMP SetCRLF(LONG v) override {
        if (v == 0 || v == 1) crlf_ = static_cast<unsigned char>(v);
        return S_OK;
    }
    STDMETHODIMP FormulaNoForCR(BSTR in, LONG* out) override { return Count(NotYet(in), out); }

private:
    long ecLevel_ = 1;
    unsigned char crlf_ = 1;
};

class CQRCode : public QRLike<IQRCode> {
public:
    explicit CQRCode(IUnknown* outer) : QRLike(outer, kQRCodeInfo) {}
};
class CMicroQRCode : public QRLike<IMicroQRCode> {
public:
    explicit CMicroQRCode(IUnknown* outer) : QRLike(outer, kMicroQRCodeInfo) {}
};

class CAztec : public AutomationObject<IAztec> {
public:
    explicit CAztec(IUnknown* outer) : AutomationObject(outer, kAztecInfo) {}
    STDMETHODIMP Encode(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP EncodeCR(BSTR in, LONG nIndex, LONG, LONG, BSTR* out) override {
        return PieceOf(NotYet(in), nIndex, out);
    }
    STDMETHODIMP get_PreferredFormat(LONG* v) override { return Get<LONG>(format_, v); }
    STDMETHODIMP put_PreferredFormat(LONG v) override {
        if (v >= 0 && v <= 36) format_ = v;
        return S_OK;
    }
    STDMETHODIMP get_ECLevel(LONG* v) override { return Get<LONG>(ecLevel_, v); }
    STDMETHODIMP put_ECLevel(LONG v) override {
        if (v >= 0 && v <= 19) ecLevel_ = v;
        return S_OK;
    }
    STDMETHODIMP SetCRLF(LONG v) override {
        if (v == 0 || v == 1) crlf_ = static_cast<unsigned char>(v);
        return S_OK;
    }
    STDMETHODIMP FormulaNoForCR(BSTR in, LONG* out) override { return Count(NotYet(in), out); }

private:
    unsigned char crlf_ = 1;
    long ecLevel_ = 5;
    long format_ = 0;
};

class CMaxicode : public AutomationObject<IMaxicode> {
public:
    explicit CMaxicode(IUnknown* outer) : AutomationObject(outer, kMaxicodeInfo) {}
    STDMETHODIMP Encode(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP EncodeCR(BSTR in, LONG nIndex, LONG, BSTR* out) override {
        return PieceOf(NotYet(in), nIndex, out);
    }
    STDMETHODIMP SetCRLF(VARIANT_BOOL v) override {
        SetBoolFlag(crlf_, v);
        return S_OK;
    }
    STDMETHODIMP FormulaNoForCR(BSTR in, LONG* out) override { return Count(NotYet(in), out); }

private:
    long crlf_ = 1;
};

class CCode16k : public AutomationObject<ICode16k> {
public:
    explicit CCode16k(IUnknown* outer) : AutomationObject(outer, kCode16kInfo) {}
    STDMETHODIMP Encode(BSTR in, BSTR* out) override { return Whole(NotYet(in), out); }
    STDMETHODIMP SetCRLF(VARIANT_BOOL v) override {
        SetBoolFlag(crlf_, v);
        return S_OK;
    }
    STDMETHODIMP EncodeCR(BSTR in, LONG nIndex, BSTR* out) override {
        return PieceOf(NotYet(in), nIndex, out);
    }

private:
    long crlf_ = 1;
};

const ClassEntry kDatamatrixEntry = {&kDatamatrixInfo, &Make<CDatamatrix>};
const ClassEntry kPDF417Entry = {&kPDF417Info, &Make<CPDF417>};
const ClassEntry kMicroPDF417Entry = {&kMicroPDF417Info, &Make<CMicroPDF417>};
const ClassEntry kQRCodeEntry = {&kQRCodeInfo, &Make<CQRCode>};
const ClassEntry kMicroQRCodeEntry = {&kMicroQRCodeInfo, &Make<CMicroQRCode>};
const ClassEntry kAztecEntry = {&kAztecInfo, &Make<CAztec>};
const ClassEntry kMaxicodeEntry = {&kMaxicodeInfo, &Make<CMaxicode>};
const ClassEntry kCode16kEntry = {&kCode16kInfo, &Make<CCode16k>};

}  // namespace tarnvik
