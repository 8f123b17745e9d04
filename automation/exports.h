// The exported encode functions of Tarnvik, for callers that cannot use automation.
//
// Each takes a NUL-terminated input text (numeric escapes as the classes read them), any
// options, and the caller's output buffer, which must hold the whole result and its NUL (the
// size is not passed). Each returns 1 with the result text in the buffer, or 0 after a
// component-system failure, having printed "Error: 0x%08x <message>" to the standard output
// and left the buffer as it was.
//
// Buffer sizes in wide characters, the NUL included, that hold the largest result of each
// (font text with CR LF line ends, or a message of up to 99 characters): the linear
// functions and ZYLCode16KEncode 2,048; the DataBar functions 1,024; ZYLDataMatrix* 5,257;
// ZYLQRCode* 8,056; ZYLMicroQRCodeEncode 100; ZYLAztec* 5,815; ZYLPDF417* 5,544;
// ZYLPDMicroF417Encode 1,112; ZYLMaxicodeEncode 358. 16,384 holds the result of any.
#pragma once

#define TARNVIK_EXPORTS_LINEAR(X)                                                            \
    X(Code39, Code39) X(Code39Check, Code39Check) X(Code39Ext, Code39Ext) X(Code11, Code11)  \
    X(Code25, Code25) X(Code25Check, Code25Check) X(Code93, Code93) X(MSI, MSI)              \
    X(Codabar, Codabar) X(UPCA, UPCA) X(UPCE, UPCE) X(EAN13, EAN13) X(EAN8, EAN8)            \
    X(Bookland, Bookland) X(Code128B, Code128B) X(Telepen, Telepen)                          \
    X(TelepenNumeric, TelepenNumeric) X(I25, I25) X(I25Check, I25Check) X(USPS128, USPS128)  \
    X(UCCEAN128, UCCEAN128) X(GS1128, GS1128) X(USSCode39, USSCode39) X(POSTNET, POSTNET)    \
    X(ROYALMAIL, RoyalMail) X(ONECODE, IM) X(SEMIM12, SemiM12) X(SEMIM13, SemiM13)            \
    X(Code128A, Code128A) X(Code128C, Code128C)

extern "C" {

#define TARNVIK_DECLARE_LINEAR(name, method) int ZYL##name(const wchar_t* input, wchar_t* output);
TARNVIK_EXPORTS_LINEAR(TARNVIK_DECLARE_LINEAR)
#undef TARNVIK_DECLARE_LINEAR

int ZYLDataMatrixEncode(const wchar_t* input, wchar_t* output);
int ZYLDataMatrixOption(const wchar_t* input, int nFormat, int nEncodation, int nGS1,
                        wchar_t* output);
int ZYLPDF417Encode(const wchar_t* input, wchar_t* output);
// The five options are accepted and not used: the text is encoded as ZYLPDF417Encode does.
int ZYLPDF417Option(const wchar_t* input, int nMaxRows, int nFixedColumns, int nSecurity,
                    int nCompactionMode, int bTruncated, wchar_t* output);
int ZYLQRCodeEncode(const wchar_t* input, wchar_t* output);
int ZYLQRCodeOption(const wchar_t* input, int nECLevel, wchar_t* output);
int ZYLMicroQRCodeEncode(const wchar_t* input, wchar_t* output);
int ZYLCode16KEncode(const wchar_t* input, wchar_t* output);
int ZYLAztecEncode(const wchar_t* input, wchar_t* output);
int ZYLAztecOption(const wchar_t* input, int nFormat, int nErrorLevel, wchar_t* output);
int ZYLMaxicodeEncode(const wchar_t* input, int nMode, wchar_t* output);
int ZYLDatabarEncode(const wchar_t* input, wchar_t* output);
int ZYLDatabarStackEncode(const wchar_t* input, wchar_t* output);
int ZYLDatabarStkOmniEncode(const wchar_t* input, wchar_t* output);
int ZYLDatabarLtdEncode(const wchar_t* input, wchar_t* output);
int ZYLDatabarExpEncode(const wchar_t* input, wchar_t* output);
int ZYLDatabarExpStkEncode(const wchar_t* input, wchar_t* output);

}  // extern "C"

// Exported under its C++ name: `output` is the first character of the caller's buffer. The
// export is TarnvikPDMicroF417Encode (its buffer taken as a pointer), named so by tarnvik.def.
int ZYLPDMicroF417Encode(wchar_t* input, wchar_t& output);
extern "C" int TarnvikPDMicroF417Encode(const wchar_t* input, wchar_t* output);
