// The DataBar and Pharmacode classes.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "classes.h"
#include "class_support.h"
#include "symbols.h"
#include "text.h"

namespace tarnvik {

namespace {

const ParamName kMedicalParams[] = {
    {L"strToEncode", 0}, {L"strOutput", 1}, {L"nOption", 0}, {nullptr, 0}};

// The most bytes the encoders are given: 13 digits (Omnidirectional, Stacked, Limited) and
// 2,047 for Pharmacode. The Expanded forms get their whole text: the encoder itself refuses
// data that does not fit the symbol.
constexpr std::size_t kDigitsBytes = 13;
constexpr std::size_t kPharmacodeBytes = 2047;
constexpr std::size_t kWholeText = std::string::npos;

constexpr std::size_t kDigits = 13;

using matrix::Symbol;

struct Encoded {
    int result;
    std::wstring text;  // the font text, or the message when result > 0
};

// One record encode: `text` in the ANSI code page, NUL-terminated, at most `maxBytes` bytes.
// Text that would need more bytes (characters of a multi-byte code page) is cut after its
// last whole character that fits; the encoder gets the bytes' count, which in a single-byte
// code page is the text's length.
Encoded EncodeRecord(Symbol kind, const std::wstring& text, std::size_t maxBytes) {
    const std::string bytes = ToCodePage(text, CP_ACP, maxBytes);
    std::vector<std::uint8_t> buffer(bytes.size() + 1, 0);
    std::memcpy(buffer.data(), bytes.data(), bytes.size());
    auto rec = NewRecord();
    int result;
    {
        EncodeLock lock;
        // One-line and LF-ended output: the line-end choice is not read.
        result = matrix::EncodeSymbol(kind, *rec, {buffer.data(), bytes.size()},
                                      matrix::Call::Server(false));
    }
    return {result, RecordResult(*rec, result)};
}

std::wstring WithCrLf(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size() + text.size() / 16);
    for (wchar_t c : text) {
        if (c == L'\n') out += L'\r';
        out += c;
    }
    return out;
}

// The 13-digit forms: numbers are filled with "0" at their end to 13 digits ("123" is
// encoded as 1230000000000) or cut to their first 13. Font text ends with " *".
HRESULT Digits(Symbol kind, BSTR in, bool crlfLines, BSTR* out) {
    if (!out) return E_POINTER;
    return Guard([&] {
        std::wstring text = DecodedInput(in);
        text.resize(kDigits, L'0');
        Encoded e = EncodeRecord(kind, text, kDigitsBytes);
        if (e.result <= 0) {
            if (crlfLines) e.text = WithCrLf(e.text);
            e.text += L" *";
        }
        return Whole(e.text, out);
    });
}

// The Expanded forms: bracketed GS1 data, whole (data that does not fit the symbol gets the
// encoder's message rather than a symbol of part of it). Font text, whole or piece `index`,
// ends with " *"; a message comes back whole.
HRESULT ExpandedForm(Symbol kind, BSTR in, bool crlfLines, long index, BSTR* out) {
    if (!out) return E_POINTER;
    return Guard([&] {
        Encoded e = EncodeRecord(kind, DecodedInput(in), kWholeText);
        if (e.result <= 0) {
            if (crlfLines) e.text = WithCrLf(e.text);
            if (index != 0) e.text = Piece(e.text, index);
            e.text += L" *";
        }
        return Whole(e.text, out);
    });
}

// Pharmacode takes the text as it is: no numeric escapes. Text beyond 2,047 bytes is cut
// (the encoders accept far fewer digits and report the rest as too long).
HRESULT Pharmacode(Symbol kind, BSTR in, BSTR* out) {
    if (!out) return E_POINTER;
    return Guard([&] {
        return Whole(EncodeRecord(kind, ArgText(in), kPharmacodeBytes).text, out);
    });
}

}  // namespace

const ClassInfo kDatabarInfo = {L"Databar", &CLSID_CDatabar, &IID_IDatabar, nullptr};
const ClassInfo kMedicalInfo = {L"Medical", &CLSID_CMedical, &IID_IMedical, kMedicalParams};

// The CRLF flag works the other way round here: Stacked Omnidirectional and the pieces of
// Expanded Stacked keep the encoder's LF line ends while the flag is 1 and end their lines
// with CR LF when it is 0. Hosts rely on this; the other forms never read the flag.
class CDatabar : public AutomationObject<IDatabar> {
public:
    explicit CDatabar(IUnknown* outer) : AutomationObject(outer, kDatabarInfo) {}
    STDMETHODIMP SetCRLF(VARIANT_BOOL v) override {
        SetBoolFlag(crlf_, v);
        return S_OK;
    }
    STDMETHODIMP Databar14(BSTR in, BSTR* out) override {
        return Digits(Symbol::DatabarOmni, in, false, out);
    }
    STDMETHODIMP DatabarStack(BSTR in, BSTR* out) override {
        return Digits(Symbol::DatabarStacked, in, false, out);
    }
    STDMETHODIMP DatabarStkOmni(BSTR in, BSTR* out) override {
        return Digits(Symbol::DatabarStackedOmni, in, crlf_ == 0, out);
    }
    STDMETHODIMP DatabarLtd(BSTR in, BSTR* out) override {
        return Digits(Symbol::DatabarLimited, in, false, out);
    }
    STDMETHODIMP DatabarExp(BSTR in, BSTR* out) override {
        return ExpandedForm(Symbol::DatabarExpanded, in, false, 0, out);
    }
    STDMETHODIMP DatabarExpStk(BSTR in, BSTR* out) override {
        return ExpandedForm(Symbol::DatabarExpandedStacked, in, false, 0, out);
    }
    STDMETHODIMP DatabarExpStkCR(BSTR in, LONG nIndex, BSTR* out) override {
        return ExpandedForm(Symbol::DatabarExpandedStacked, in, crlf_ == 0, nIndex, out);
    }

private:
    long crlf_ = 1;
};

class CMedical : public AutomationObject<IMedical> {
public:
    explicit CMedical(IUnknown* outer) : AutomationObject(outer, kMedicalInfo) {}
    STDMETHODIMP Pharmaone(BSTR in, BSTR* out) override {
        return Pharmacode(Symbol::PharmaOne, in, out);
    }
    STDMETHODIMP Pharmatwo(BSTR in, BSTR* out) override {
        return Pharmacode(Symbol::PharmaTwo, in, out);
    }
    // Stored only: no Pharmacode method reads it.
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
