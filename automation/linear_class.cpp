// CLinear: the linear and postal encoders behind ILinear.
#include <cwchar>
#include <exception>
#include <string>

#include "class_support.h"
#include "classes.h"
#include "entry.h"
#include "intelligent_mail.h"
#include "text.h"

namespace tarnvik {

namespace {

const ParamName kLinearParams[] = {{L"strInput", 0}, {L"strOutput", 1}, {nullptr, 0}};

using LinearEncoder = const wchar_t* (*)(const wchar_t*);

constexpr std::size_t kUnits = 2048;  // the encoders' text bound: 2,047 characters

// The input buffer of a call: the argument's first 2,047 characters, NUL-terminated (a null
// BSTR is empty text).
struct InputBuffer {
    wchar_t text[kUnits] = {};
    explicit InputBuffer(BSTR input) {
        const std::size_t n = input ? SysStringLen(input) : 0;
        wmemcpy(text, input ? input : L"", n < kUnits ? n : kUnits - 1);
    }
};

// Runs one encoder under the encode lock and keeps a copy of its font text.
std::wstring RunEncoder(LinearEncoder encoder, const wchar_t* text) {
    if (!encoder) return std::wstring();
    EncodeLock lock;
    const wchar_t* font = encoder(text);
    return std::wstring(font, wcsnlen(font, kUnits - 1));
}

HRESULT Common(LinearEncoder encoder, BSTR input, BSTR* output) {
    if (!output) return E_POINTER;
    return Guard([&] {
        const InputBuffer in(input);
        return ReturnText(RunEncoder(encoder, in.text), output);
    });
}

// The SEMI marks show a "." in place of the character before the last.
HRESULT Semi(LinearEncoder encoder, BSTR input, BSTR* output) {
    if (!output) return E_POINTER;
    return Guard([&] {
        const InputBuffer in(input);
        std::wstring font = RunEncoder(encoder, in.text);
        if (font.size() > 2) font[font.size() - 2] = L'.';
        return ReturnText(font, output);
    });
}

}  // namespace

const ClassInfo kLinearInfo = {L"Linear", &CLSID_CLinear, &IID_ILinear, kLinearParams};

#define COMMON(method, encoder) \
    STDMETHODIMP CLinear::method(BSTR in, BSTR* out) { return Common(encoder, in, out); }

COMMON(Code39, EncodeCode39)
COMMON(Code39Check, EncodeCode39Check)
COMMON(Code39Ext, EncodeCode39Ext)
COMMON(Code11, EncodeCode11)
COMMON(Code25, EncodeCode25)
COMMON(Code25Check, EncodeCode25Check)
COMMON(I25, EncodeI25)
COMMON(I25Check, EncodeI25Check)
COMMON(MSI, EncodeMSI)
COMMON(Code93, EncodeCode93)
COMMON(UPCA, EncodeUPCA)
COMMON(UPCE, EncodeUPCE)
COMMON(EAN13, EncodeEAN13)
COMMON(EAN8, EncodeEAN8)
COMMON(Bookland, EncodeBookland)
COMMON(UCCEAN128, EncodeGS1128)
COMMON(Code128A, EncodeCode128A)
COMMON(Code128B, EncodeCode128B)
COMMON(Code128C, EncodeCode128C)
COMMON(Telepen, EncodeTelepen)
COMMON(TelepenNumeric, EncodeTelepenNumeric)
COMMON(Codabar, EncodeCodabar)
COMMON(GS1128, EncodeGS1128)
COMMON(USPS128, EncodeUSPS128)
COMMON(POSTNET, EncodePOSTNET)
COMMON(RoyalMail, EncodeRoyalMail)
COMMON(SSCC, EncodeSSCC)
COMMON(Code128AWCheck, EncodeCode128AWCheck)
COMMON(Code128BWCheck, EncodeCode128BWCheck)
COMMON(Code128CWCheck, EncodeCode128CWCheck)
COMMON(Code128Auto, EncodeCode128Auto)
#undef COMMON

STDMETHODIMP CLinear::SemiM12(BSTR in, BSTR* out) { return Semi(EncodeSemiM12, in, out); }
STDMETHODIMP CLinear::SemiM13(BSTR in, BSTR* out) { return Semi(EncodeSemiM13, in, out); }

// The SSCC check digit alone, as a one-character text.
STDMETHODIMP CLinear::SSCCChecksum(BSTR in, BSTR* out) {
    if (!out) return E_POINTER;
    return Guard([&] {
        const InputBuffer buffer(in);
        wchar_t digit[2] = {};
        {
            EncodeLock lock;
            digit[0] = static_cast<wchar_t>(linear::ComputeSSCCChecksum(
                linear::LinearContext(), reinterpret_cast<const char16_t*>(buffer.text)));
        }
        return ReturnText(std::wstring(digit, 1), out);
    });
}

// No encoder stands behind USS Code 39 in this class.
STDMETHODIMP CLinear::USSCode39(BSTR, BSTR* out) {
    return Guard([&] { return ReturnText(L"", out); });
}

// Master carton: 13 digits, zeros inserted after the first character, then Interleaved 2 of 5
// with its check digit and two trailing spaces.
STDMETHODIMP CLinear::MasterCarton(BSTR in, BSTR* out) {
    if (!out) return E_POINTER;
    return Guard([&] {
        const std::wstring text = MasterCartonData(ArgText(in));
        std::wstring font = RunEncoder(EncodeI25Check, text.c_str());
        font += L"  ";
        return ReturnText(font, out);
    });
}

// Intelligent Mail: 20 tracking digits and 5 to 11 routing digits; no escape decoding. The
// second bar letter shows as "*".
STDMETHODIMP CLinear::IM(BSTR in, BSTR* out) {
    if (!out) return E_POINTER;
    return Guard([&] {
        std::wstring tracking, routing;
        IntelligentMailData(ArgText(in), tracking, routing);
        std::u16string bars;
        try {
            EncodeLock lock;
            matrix::IntelligentMailEncoder encoder;
            bars = encoder.Encode(std::u16string(tracking.begin(), tracking.end()),
                                  std::u16string(routing.begin(), routing.end()));
        } catch (const std::bad_alloc&) {
            throw;  // the guard's
        } catch (const std::exception&) {
            bars.clear();  // no other exception crosses the interface
        }
        if (bars.size() > 1) bars[1] = u'*';
        return ReturnText(std::wstring(bars.begin(), bars.end()), out);
    });
}

}  // namespace tarnvik
