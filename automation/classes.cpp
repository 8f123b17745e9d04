// The classes of the two-dimensional and stacked symbologies: their properties, flags and
// methods. Every record method decodes the escapes of its input, converts it to 8 bits (the
// ANSI code page; UTF-8 for QR Code), fills a fresh symbol record, runs one encoder under the
// encode lock and returns the font text or the encoder's message, whole or in pieces.
#include <cwchar>
#include <span>
#include <string>

#include "classes.h"
#include "class_support.h"
#include "entry.h"
#include "matrix.h"
#include "text.h"

namespace tarnvik {

namespace {

using matrix::SymbolRecord;

// The options a record method writes before the encode (the symbology number is the
// encoder entry's).
struct RecordSetup {
    int option1 = 0, option2 = 0, option3 = 0, option4 = 0;
    int inputMode = matrix::kDataMode;
};

// The 8-bit data of a record method and the length the encoder is given.
struct Bytes {
    std::string data;
    std::size_t length = 0;
};

// Converted bytes, the encoder told of all of them (the conversion's own count: no
// terminator, and every byte of a multi-byte character).
Bytes Converted(const std::wstring& text, UINT cp) {
    Bytes b;
    b.data = ToCodePage(text, cp);
    b.length = b.data.size();
    return b;
}

// Converted bytes up to their first NUL.
Bytes UpToNul(const std::wstring& text, UINT cp) {
    Bytes b;
    b.data = ToCodePage(text, cp);
    b.length = b.data.find('\0');
    if (b.length == std::string::npos) b.length = b.data.size();
    return b;
}

// QR Code's text for UTF-8: a surrogate pair is one character (four bytes); a surrogate
// without its partner stands for no character and goes as U+FFFD.
std::wstring WholeCharacters(std::wstring text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]))
            ++i;
        else if (IS_HIGH_SURROGATE(text[i]) || IS_LOW_SURROGATE(text[i]))
            text[i] = 0xFFFD;
    }
    return text;
}

std::span<const std::uint8_t> DataOf(const Bytes& b) {
    return {reinterpret_cast<const std::uint8_t*>(b.data.c_str()), b.length};
}

// What one record encode leaves: the encoder's result and the record.
struct Outcome {
    int result = 0;
    std::unique_ptr<SymbolRecord> rec;
};

Outcome RunRecord(matrix::Symbol kind, const RecordSetup& setup, const Bytes& bytes, bool crlf) {
    Outcome o;
    o.rec = NewRecord();
    o.rec->option1 = setup.option1;
    o.rec->option2 = setup.option2;
    o.rec->option3 = setup.option3;
    o.rec->option4 = setup.option4;
    o.rec->inputMode = setup.inputMode;
    EncodeLock lock;
    o.result = matrix::EncodeSymbol(kind, *o.rec, DataOf(bytes), matrix::Call::Server(crlf));
    return o;
}

// The usual result: the message for a failure or warning, else the font text.
std::wstring Encoded(matrix::Symbol kind, const RecordSetup& setup, const Bytes& bytes, bool crlf) {
    const Outcome o = RunRecord(kind, setup, bytes, crlf);
    return RecordResult(*o.rec, o.result);
}

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

namespace {

// The text bound of the methods that copy their input into a fixed buffer.
constexpr std::size_t kBufferUnits = 2048;

// The first 2,047 characters of the argument, up to an embedded NUL (null is empty text).
std::wstring BufferText(BSTR in) {
    std::wstring text = ArgText(in);
    const std::size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos) text.resize(nul);
    if (text.size() > kBufferUnits - 1) text.resize(kBufferUnits - 1);
    return text;
}

// Data Matrix sizes: Format 0 to 23 are the squares 10 x 10 to 144 x 144 and 24 to 29 the
// rectangles 8 x 18 to 16 x 48, which the encoder numbers 1 to 30; -1 leaves the choice to it.
int DataMatrixSizeOf(SHORT format) { return format >= 0 && format <= 29 ? format + 1 : 0; }

}  // namespace

class CDatamatrix : public AutomationObject<IDatamatrix> {
public:
    explicit CDatamatrix(IUnknown* outer) : AutomationObject(outer, kDatamatrixInfo) {}
    STDMETHODIMP Encode(BSTR in, BSTR* out) override {
        return Guard([&] { return Whole(Plain(in), out); });
    }
    STDMETHODIMP EncodeCR(BSTR in, LONG nIndex, LONG nFormat, LONG nEncodation, LONG gs1,
                          BSTR* out) override {
        return Guard([&] {
            return PieceOf(Run(DecodedInput(in), nFormat, static_cast<int>(nEncodation), gs1 == 1),
                           nIndex, out);
        });
    }
    // SEMI T7: the first eight characters, filled with "-", then "--", in the 8 x 32
    // rectangle; no escapes.
    STDMETHODIMP SEMIT7(BSTR in, BSTR* out) override {
        return Guard([&] { return Whole(SemiT7(in), out); });
    }
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
    STDMETHODIMP FormulaNoForCR(BSTR in, LONG* out) override {
        return Guard([&] { return Count(Plain(in), out); });
    }
    // CMDM: the check character of characters 11 to 30 goes in at position 30, then a
    // 44 x 44 symbol in C40. Without twenty hexadecimal characters there is no check
    // character to give, and the result is empty.
    STDMETHODIMP CMDM(BSTR in, BSTR* out) override {
        return Guard([&] { return Whole(Cmdm(in), out); });
    }

private:
    std::wstring SemiT7(BSTR in) const {
        std::wstring text = BufferText(in);
        text.resize(10, L'-');
        text[8] = text[9] = L'-';
        RecordSetup setup;
        setup.option1 = 1;
        setup.option2 = 26;
        return Encoded(matrix::Symbol::DataMatrix, setup, UpToNul(text, CP_ACP), crlf_ == 1);
    }
    static std::wstring Cmdm(BSTR in) {
        std::wstring text = DecodedInput(in);
        const std::size_t from = text.size() > 10 ? 10 : text.size();
        const std::size_t count = text.size() - from < 20 ? text.size() - from : 20;
        const char16_t check =
            matrix::cmdmCheckChar(reinterpret_cast<const char16_t*>(text.c_str()) + from, count);
        if (check == 0) return std::wstring();
        text.insert(text.size() < 30 ? text.size() : 30, 1, static_cast<wchar_t>(check));
        RecordSetup setup;
        setup.option1 = 1;
        setup.option2 = 13;
        setup.option4 = matrix::kDmC40;
        return Encoded(matrix::Symbol::DataMatrix, setup, UpToNul(text, CP_ACP), true);
    }
    std::wstring Plain(BSTR in) const {
        return Run(DecodedInput(in), DataMatrixSizeOf(format_), encodation_, gs1_ == 1);
    }
    std::wstring Run(const std::wstring& text, long size, int encodation, bool gs1) const {
        RecordSetup setup;
        setup.option1 = 1;
        setup.option2 = static_cast<int>(size);
        setup.option4 = encodation;
        setup.inputMode = gs1 ? matrix::kGs1Mode : matrix::kDataMode;
        return Encoded(matrix::Symbol::DataMatrix, setup, UpToNul(text, CP_ACP), crlf_ == 1);
    }

    SHORT format_ = -1;
    SHORT encodation_ = 0;
    long crlf_ = 1;
    long gs1_ = 0;
};

class CPDF417 : public AutomationObject<IPDF417> {
public:
    explicit CPDF417(IUnknown* outer) : AutomationObject(outer, kPDF417Info) {}
    STDMETHODIMP Encode(BSTR in, BSTR* out) override {
        return Guard([&] { return Whole(Plain(in), out); });
    }
    STDMETHODIMP EncodeCR(BSTR in, LONG nIndex, LONG nMaxRows, LONG nFixedColumns, LONG nSecurity,
                          LONG nCompactionMode, LONG bTruncated, BSTR* out) override {
        return Guard([&] {
            return PieceOf(Run(in, bTruncated, nSecurity, nFixedColumns, nMaxRows, nCompactionMode),
                           nIndex, out);
        });
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
    STDMETHODIMP FormulaNoForCR(BSTR in, LONG* out) override {
        return Guard([&] { return Count(Plain(in), out); });
    }

private:
    std::wstring Plain(BSTR in) const {
        return Run(in, truncate_, security_, fixedColumns_, maxRows_, compaction_);
    }
    // The security levels 1 to 9 are the encoder's 0 to 8; 0 asks for level 1.
    std::wstring Run(BSTR in, long truncated, long security, long columns, long rows,
                     long compaction) const {
        RecordSetup setup;
        setup.option1 = security == 0 ? 1 : Shifted(security, -1);
        setup.option2 = static_cast<int>(columns);
        setup.option3 = static_cast<int>(rows);
        setup.option4 = static_cast<int>(compaction);
        return Encoded(truncated == 1 ? matrix::Symbol::PDF417Truncated : matrix::Symbol::PDF417,
                       setup, UpToNul(DecodedInput(in), CP_ACP), crlf_ == 1);
    }

    long crlf_ = 1, truncate_ = 0, security_ = 0, maxRows_ = 0, fixedColumns_ = 0, compaction_ = 0;
};

// MicroPDF417 always ends its lines with CR LF; the flag is kept but not read. The encoder
// is given every converted byte and refuses data beyond what a symbol holds.
class CMicroPDF417 : public AutomationObject<IMicroPDF417> {
public:
    explicit CMicroPDF417(IUnknown* outer) : AutomationObject(outer, kMicroPDF417Info) {}
    STDMETHODIMP EncodeCR(BSTR in, LONG nIndex, BSTR* out) override {
        return Guard([&] { return PieceOf(Run(in), nIndex, out); });
    }
    STDMETHODIMP SetCRLF(VARIANT_BOOL v) override {
        SetBoolFlag(crlf_, v);
        return S_OK;
    }
    STDMETHODIMP Encode(BSTR in, BSTR* out) override {
        return Guard([&] { return Whole(Run(in), out); });
    }
    STDMETHODIMP FormulaNoForCR(BSTR in, LONG* out) override {
        return Guard([&] { return Count(Run(in), out); });
    }

private:
    static std::wstring Run(BSTR in) {
        return Encoded(matrix::Symbol::MicroPDF417, RecordSetup(), Converted(DecodedInput(in), CP_ACP),
                       true);
    }

    long crlf_ = 1;
};

// QR Code and Micro QR share their interface layout. The level 0 L to 3 H reaches the
// encoders as 1 to 4. QR Code takes its text as UTF-8 (a surrogate pair as the four bytes of
// its character), Micro QR in the ANSI code page.
template <class Itf, matrix::Symbol kKind, UINT kCodePage>
class QRLike : public AutomationObject<Itf> {
public:
    QRLike(IUnknown* outer, const ClassInfo& info) : AutomationObject<Itf>(outer, info) {}
    STDMETHODIMP Encode(BSTR in, BSTR* out) override {
        return Guard([&] { return Whole(Run(in, ecLevel_), out); });
    }
    STDMETHODIMP get_ECLevel(LONG* v) override { return Get<LONG>(ecLevel_, v); }
    STDMETHODIMP put_ECLevel(LONG v) override {
        if (v >= 0 && v <= 3) ecLevel_ = v;
        return S_OK;
    }
    STDMETHODIMP EncodeCR(BSTR in, LONG index, LONG nECLevel, BSTR* out) override {
        return Guard([&] { return PieceOf(Run(in, nECLevel), index, out); });
    }
    STDMETHODIMP SetCRLF(LONG v) override {
        if (v == 0 || v == 1) crlf_ = static_cast<unsigned char>(v);
        return S_OK;
    }
    STDMETHODIMP FormulaNoForCR(BSTR in, LONG* out) override {
        return Guard([&] { return Count(Run(in, ecLevel_), out); });
    }

private:
    std::wstring Run(BSTR in, long level) const {
        RecordSetup setup;
        setup.option1 = Shifted(level, 1);
        const std::wstring text = DecodedInput(in);
        return Encoded(kKind, setup,
                       Converted(kCodePage == CP_UTF8 ? WholeCharacters(text) : text, kCodePage),
                       crlf_ != 0);
    }

    long ecLevel_ = 1;
    unsigned char crlf_ = 1;
};

class CQRCode : public QRLike<IQRCode, matrix::Symbol::QRCode, CP_UTF8> {
public:
    explicit CQRCode(IUnknown* outer) : QRLike(outer, kQRCodeInfo) {}
};
class CMicroQRCode : public QRLike<IMicroQRCode, matrix::Symbol::MicroQRCode, CP_ACP> {
public:
    explicit CMicroQRCode(IUnknown* outer) : QRLike(outer, kMicroQRCodeInfo) {}
};

// Aztec: Encode writes LF line ends and returns the font text of a warning too;
// FormulaNoForCR counts the text that EncodeCR cuts, with the object's line ends.
class CAztec : public AutomationObject<IAztec> {
public:
    explicit CAztec(IUnknown* outer) : AutomationObject(outer, kAztecInfo) {}
    STDMETHODIMP Encode(BSTR in, BSTR* out) override {
        return Guard([&] { return Whole(Run(in, ecLevel_, format_, false, true), out); });
    }
    STDMETHODIMP EncodeCR(BSTR in, LONG nIndex, LONG nFormat, LONG nErrorLevel,
                          BSTR* out) override {
        return Guard(
            [&] { return PieceOf(Run(in, nErrorLevel, nFormat, crlf_ != 0, false), nIndex, out); });
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
    STDMETHODIMP FormulaNoForCR(BSTR in, LONG* out) override {
        return Guard([&] { return Count(Run(in, ecLevel_, format_, crlf_ != 0, false), out); });
    }

private:
    // `fontOnWarning`: a warning leaves complete font text, which Encode returns; a failure
    // has nothing to give but its message.
    static std::wstring Run(BSTR in, long level, long format, bool crlf, bool fontOnWarning) {
        RecordSetup setup;
        setup.option1 = static_cast<int>(level);
        setup.option2 = static_cast<int>(format);
        const Outcome o =
            RunRecord(matrix::Symbol::Aztec, setup, Converted(DecodedInput(in), CP_ACP), crlf);
        const bool warning = o.result == matrix::kWarning;
        return RecordResult(*o.rec, fontOnWarning && warning ? matrix::kSuccess : o.result);
    }

    unsigned char crlf_ = 1;
    long ecLevel_ = 5;
    long format_ = 0;
};

// Maxicode: Encode and FormulaNoForCR let the encoder choose the mode (mode 4 for data
// without a primary message); EncodeCR takes the mode it is given. Lines always end with
// CR LF; the flag is kept but not read.
class CMaxicode : public AutomationObject<IMaxicode> {
public:
    explicit CMaxicode(IUnknown* outer) : AutomationObject(outer, kMaxicodeInfo) {}
    STDMETHODIMP Encode(BSTR in, BSTR* out) override {
        return Guard([&] { return Whole(Run(in, kAutomatic), out); });
    }
    STDMETHODIMP EncodeCR(BSTR in, LONG nIndex, LONG nMode, BSTR* out) override {
        return Guard([&] { return PieceOf(Run(in, nMode), nIndex, out); });
    }
    STDMETHODIMP SetCRLF(VARIANT_BOOL v) override {
        SetBoolFlag(crlf_, v);
        return S_OK;
    }
    STDMETHODIMP FormulaNoForCR(BSTR in, LONG* out) override {
        return Guard([&] { return Count(Run(in, kAutomatic), out); });
    }

private:
    static constexpr long kAutomatic = -1;
    static std::wstring Run(BSTR in, long mode) {
        RecordSetup setup;
        setup.option1 = static_cast<int>(mode);
        return Encoded(matrix::Symbol::Maxicode, setup, Converted(DecodedInput(in), CP_ACP), true);
    }

    long crlf_ = 1;
};

// Code 16K works on the UTF-16 text itself (its encoder decodes the escapes) and writes into
// the server's linear result buffer.
class CCode16k : public AutomationObject<ICode16k> {
public:
    explicit CCode16k(IUnknown* outer) : AutomationObject(outer, kCode16kInfo) {}
    STDMETHODIMP Encode(BSTR in, BSTR* out) override {
        return Guard([&] { return Whole(Run(in), out); });
    }
    STDMETHODIMP SetCRLF(VARIANT_BOOL v) override {
        SetBoolFlag(crlf_, v);
        return S_OK;
    }
    STDMETHODIMP EncodeCR(BSTR in, LONG nIndex, BSTR* out) override {
        return Guard([&] { return PieceOf(Run(in), nIndex, out); });
    }

private:
    std::wstring Run(BSTR in) const {
        const std::wstring text = BufferText(in);
        EncodeLock lock;
        const char16_t* font = matrix::EncodeCode16K(
            linear::LinearContext(), reinterpret_cast<const char16_t*>(text.c_str()),
            matrix::Call::Server(crlf_ == 1));
        const wchar_t* wide = reinterpret_cast<const wchar_t*>(font);
        return std::wstring(wide, wcsnlen(wide, kBufferUnits - 1));
    }

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
