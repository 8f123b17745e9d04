// The matrix and stacked symbol classes from a C++ client: creation by ProgID, properties,
// every encode method against the encoders' own font text, the messages, the pieces of long
// results, the text conversions, and symbols read back by the independent decoder.
#include <gtest/gtest.h>

#include <windows.h>
#include <oaidl.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "entry.h"
#include "matrix.h"
#include "support/band_text.h"
#include "support/font_text.h"
#include "support/read_back.h"
#include "tarnvik.h"

namespace {

using testing_support::Image;
using testing_support::Matrix;
using testing_support::ReadBackBatch;
using testing_support::RenderMatrix;

// ------------------------------------------------------------------------------------------
// What the encoders give for the same input: computed here, in the client's own copy of them.

struct Direct {
    int result = 0;
    int rows = 0;
    std::wstring font;     // fontText widened
    std::wstring message;  // errorText widened
    std::unique_ptr<matrix::SymbolRecord> rec;
    // What a method hands back: the message for a failure or a warning, else the font text.
    std::wstring Result() const { return result > 0 ? message : font; }
};

std::wstring Widen(const char* s) {
    std::wstring w;
    for (; *s; ++s) w += static_cast<wchar_t>(static_cast<unsigned char>(*s));
    return w;
}

struct Options {
    int symbology = 0, option1 = 0, option2 = 0, option3 = 0, option4 = 0, inputMode = 0;
};

using Encoder = std::function<int(matrix::SymbolRecord&, std::span<const std::uint8_t>)>;

Direct RunDirect(const Encoder& encoder, const Options& o, const std::string& bytes) {
    Direct d;
    d.rec = std::make_unique<matrix::SymbolRecord>();
    std::memset(d.rec.get(), 0, sizeof *d.rec);
    d.rec->symbology = o.symbology;
    d.rec->option1 = o.option1;
    d.rec->option2 = o.option2;
    d.rec->option3 = o.option3;
    d.rec->option4 = o.option4;
    d.rec->inputMode = o.inputMode;
    d.result = encoder(*d.rec, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    d.rows = d.rec->rows;
    d.font = Widen(d.rec->fontText);
    d.message = Widen(d.rec->errorText);
    return d;
}

Encoder Aztec(bool crlf) {
    return [crlf](matrix::SymbolRecord& r, std::span<const std::uint8_t> d) {
        return matrix::EncodeAztec(r, d, matrix::Call::Server(crlf));
    };
}
Encoder DataMatrix(int encodation, bool crlf) {
    return [=](matrix::SymbolRecord& r, std::span<const std::uint8_t> d) {
        r.option4 = encodation;
        return matrix::EncodeDataMatrix(r, d, matrix::Call::Server(crlf));
    };
}
Encoder Pdf417(bool crlf) {
    return [crlf](matrix::SymbolRecord& r, std::span<const std::uint8_t> d) {
        return matrix::EncodePDF417(r, d, matrix::Call::Server(crlf));
    };
}
Encoder MicroPdf417() {
    return [](matrix::SymbolRecord& r, std::span<const std::uint8_t> d) {
        return matrix::EncodeMicroPDF417(r, d, matrix::Call::Server(true));
    };
}
Encoder Qr(bool crlf) {
    return [crlf](matrix::SymbolRecord& r, std::span<const std::uint8_t> d) {
        return matrix::EncodeQRCode(r, d, matrix::Call::Server(crlf));
    };
}
Encoder MicroQr(bool crlf) {
    return [crlf](matrix::SymbolRecord& r, std::span<const std::uint8_t> d) {
        return matrix::EncodeMicroQRCode(r, d, matrix::Call::Server(crlf));
    };
}
Encoder Maxicode() {
    return [](matrix::SymbolRecord& r, std::span<const std::uint8_t> d) {
        return matrix::EncodeMaxicode(r, d, matrix::Call::Server(true));
    };
}

// Text in a code page, converted here with the platform's own call.
std::string InCodePage(const std::wstring& text, UINT cp) {
    if (text.empty()) return std::string();
    const int n = WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}
std::string Ansi(const std::wstring& text) { return InCodePage(text, CP_ACP); }
std::string Utf8(const std::wstring& text) { return InCodePage(text, CP_UTF8); }

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

// ------------------------------------------------------------------------------------------
// Calling the classes

class Bstr {
public:
    explicit Bstr(const std::wstring& s)
        : b_(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return b_; }

private:
    BSTR b_;
};

// The text a method returns (the method must return S_OK).
template <class F>
std::wstring Text(F call) {
    BSTR out = nullptr;
    EXPECT_EQ(call(&out), S_OK);
    std::wstring r = out ? std::wstring(out, SysStringLen(out)) : L"<null>";
    SysFreeString(out);
    return r;
}
template <class F>
long Number(F call) {
    LONG n = -12345;
    EXPECT_EQ(call(&n), S_OK);
    return n;
}

template <class Itf>
Itf* Create(const wchar_t* progId, const IID& iid) {
    CLSID clsid;
    if (CLSIDFromProgID(progId, &clsid) != S_OK) return nullptr;
    Itf* p = nullptr;
    if (CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(&p)) !=
        S_OK)
        return nullptr;
    return p;
}

// Each test creates its objects by ProgID and releases them at its end.
class MatrixClasses : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override {
        for (IUnknown* u : made_) u->Release();
        CoUninitialize();
    }
    template <class Itf>
    Itf* Make(const wchar_t* progId, const IID& iid) {
        Itf* p = Create<Itf>(progId, iid);
        EXPECT_NE(p, nullptr) << "cannot create";
        if (p) made_.push_back(p);
        return p;
    }
    IAztec* NewAztec() { return Make<IAztec>(L"Tarnvik.Aztec", IID_IAztec); }
    IDatamatrix* NewDatamatrix() {
        return Make<IDatamatrix>(L"Tarnvik.Datamatrix", IID_IDatamatrix);
    }
    IQRCode* NewQR() { return Make<IQRCode>(L"Tarnvik.QRCode", IID_IQRCode); }
    IMicroQRCode* NewMicroQR() {
        return Make<IMicroQRCode>(L"Tarnvik.MicroQRCode", IID_IMicroQRCode);
    }
    IPDF417* NewPDF417() { return Make<IPDF417>(L"Tarnvik.PDF417", IID_IPDF417); }
    IMicroPDF417* NewMicroPDF417() {
        return Make<IMicroPDF417>(L"Tarnvik.MicroPDF417", IID_IMicroPDF417);
    }
    IMaxicode* NewMaxicode() { return Make<IMaxicode>(L"Tarnvik.Maxicode", IID_IMaxicode); }
    ICode16k* NewCode16k() { return Make<ICode16k>(L"Tarnvik.Code16k", IID_ICode16k); }

    std::vector<IUnknown*> made_;
};

// Inputs every class is tried with: escapes, spaces, digits, a character of the ANSI code
// page beyond ASCII and the empty text.
const std::vector<std::wstring>& Inputs() {
    static const std::vector<std::wstring> inputs = {
        L"HELLO WORLD 12345",
        L"abc&#65;&#10;def",
        L"0123456789012345678901234567890123",
        L"Gr\u00fc\u00dfe",
        L"",
    };
    return inputs;
}

// The input after the server's escape decoding (for the record encoders' bytes).
std::wstring Decoded(const std::wstring& in) {
    return reinterpret_cast<const wchar_t*>(DecodeCharRefsW(in.c_str()));
}

// ------------------------------------------------------------------------------------------
// Creation, defaults, ranges, separate objects

TEST_F(MatrixClasses, DefaultsRangesAndSeparateObjects) {
    for (const wchar_t* name : {L"Aztec", L"Datamatrix", L"QRCode", L"MicroQRCode", L"PDF417",
                                L"MicroPDF417", L"Maxicode", L"Code16k"}) {
        SCOPED_TRACE(std::wstring(name));
        for (const std::wstring& id :
             {std::wstring(L"Tarnvik.") + name, std::wstring(L"Tarnvik.") + name + L".1"}) {
            IDispatch* d = Create<IDispatch>(id.c_str(), IID_IDispatch);
            ASSERT_NE(d, nullptr);
            d->Release();
        }
    }

    IAztec* a = NewAztec();
    IAztec* a2 = NewAztec();
    ASSERT_TRUE(a && a2);
    LONG v = 0;
    a->get_ECLevel(&v);
    EXPECT_EQ(v, 5);
    a->get_PreferredFormat(&v);
    EXPECT_EQ(v, 0);
    for (LONG bad : {-1L, 20L}) EXPECT_EQ(a->put_ECLevel(bad), S_OK);
    a->get_ECLevel(&v);
    EXPECT_EQ(v, 5);
    a->put_ECLevel(0);
    a->put_PreferredFormat(36);
    a->put_PreferredFormat(37);
    a->put_PreferredFormat(-1);
    a->get_ECLevel(&v);
    EXPECT_EQ(v, 0);
    a->get_PreferredFormat(&v);
    EXPECT_EQ(v, 36);
    a2->get_ECLevel(&v);
    EXPECT_EQ(v, 5);
    a2->get_PreferredFormat(&v);
    EXPECT_EQ(v, 0);

    IDatamatrix* dm = NewDatamatrix();
    IDatamatrix* dm2 = NewDatamatrix();
    ASSERT_TRUE(dm && dm2);
    SHORT s = 0;
    dm->get_Format(&s);
    EXPECT_EQ(s, -1);
    dm->get_Encodation(&s);
    EXPECT_EQ(s, 0);
    dm->get_GS1(&s);
    EXPECT_EQ(s, 0);
    dm->put_Format(29);
    dm->put_Format(30);
    dm->put_Format(-2);
    dm->get_Format(&s);
    EXPECT_EQ(s, 29);
    dm->put_Encodation(-7);  // any value is kept
    dm->get_Encodation(&s);
    EXPECT_EQ(s, -7);
    dm->put_GS1(1);
    dm->get_GS1(&s);
    EXPECT_EQ(s, 1);
    dm->put_GS1(5);
    dm->get_GS1(&s);
    EXPECT_EQ(s, 0);
    dm2->get_Format(&s);
    EXPECT_EQ(s, -1);

    IQRCode* q = NewQR();
    IQRCode* q2 = NewQR();
    IMicroQRCode* mq = NewMicroQR();
    ASSERT_TRUE(q && q2 && mq);
    q->get_ECLevel(&v);
    EXPECT_EQ(v, 1);
    mq->get_ECLevel(&v);
    EXPECT_EQ(v, 1);
    q->put_ECLevel(3);
    q->put_ECLevel(4);
    q->put_ECLevel(-1);
    mq->put_ECLevel(4);
    q->get_ECLevel(&v);
    EXPECT_EQ(v, 3);
    q2->get_ECLevel(&v);
    EXPECT_EQ(v, 1);
    mq->get_ECLevel(&v);
    EXPECT_EQ(v, 1);
}

// ------------------------------------------------------------------------------------------
// Font text equals the encoders' own, with CR LF and LF line ends

TEST_F(MatrixClasses, AztecMethodsGiveTheEncodersText) {
    IAztec* a = NewAztec();
    ASSERT_TRUE(a);
    for (const std::wstring& in : Inputs()) {
        SCOPED_TRACE(in.size());
        const std::string bytes = Ansi(Decoded(in));
        Bstr b(in);
        // The default level 5 is valid: font text with LF line ends.
        const Direct plain = RunDirect(Aztec(false), {0, 5, 0}, bytes);
        EXPECT_EQ(Text([&](BSTR* o) { return a->Encode(b, o); }), plain.font);
        for (LONG crlf : {1L, 0L}) {
            a->SetCRLF(crlf);
            const Direct d = RunDirect(Aztec(crlf == 1), {0, 5, 0}, bytes);
            EXPECT_EQ(d.result, in.empty() ? matrix::kEmptyData : matrix::kSuccess);
            EXPECT_EQ(Text([&](BSTR* o) { return a->EncodeCR(b, 0, 0, 5, o); }), d.Result());
            // The piece count is that of the text EncodeCR cuts.
            EXPECT_EQ(Number([&](LONG* o) { return a->FormulaNoForCR(b, o); }),
                      static_cast<long>(d.Result().size() / 250 + 1));
            const Direct other = RunDirect(Aztec(crlf == 1), {0, 12, 6}, bytes);
            EXPECT_EQ(Text([&](BSTR* o) { return a->EncodeCR(b, 0, 6, 12, o); }), other.Result());
        }
        a->SetCRLF(1);
    }
    // A text whose CR LF band text needs one piece more than its LF form: FormulaNoForCR
    // counts the pieces EncodeCR cuts.
    a->SetCRLF(1);
    long tipping = 0;
    for (long size = 1; size <= 36 && tipping == 0; ++size) {
        const Direct lf = RunDirect(Aztec(false), {0, 5, static_cast<int>(size)}, "AZTEC");
        const Direct cr = RunDirect(Aztec(true), {0, 5, static_cast<int>(size)}, "AZTEC");
        if (lf.font.size() / 250 != cr.font.size() / 250) tipping = size;
    }
    ASSERT_NE(tipping, 0);
    {
        Bstr t(L"AZTEC");
        a->put_PreferredFormat(tipping);
        const Direct cr = RunDirect(Aztec(true), {0, 5, static_cast<int>(tipping)}, "AZTEC");
        const long pieces = Number([&](LONG* o) { return a->FormulaNoForCR(t, o); });
        EXPECT_EQ(pieces, static_cast<long>(cr.font.size() / 250 + 1));
        EXPECT_NE(Text([&](BSTR* o) { return a->EncodeCR(t, pieces, tipping, 5, o); }), L"");
        EXPECT_EQ(Text([&](BSTR* o) { return a->EncodeCR(t, pieces + 1, tipping, 5, o); }), L"");
        a->put_PreferredFormat(0);
    }
    // With the flag at 0 and no warning, EncodeCR's whole text is Encode's.
    a->SetCRLF(0);
    Bstr b(L"AZTEC");
    EXPECT_EQ(Text([&](BSTR* o) { return a->EncodeCR(b, 0, 0, 5, o); }),
              Text([&](BSTR* o) { return a->Encode(b, o); }));
    // Properties reach Encode and FormulaNoForCR.
    a->put_ECLevel(15);
    a->put_PreferredFormat(8);
    const Direct d = RunDirect(Aztec(false), {0, 15, 8}, "AZTEC");
    EXPECT_EQ(Text([&](BSTR* o) { return a->Encode(b, o); }), d.font);
    EXPECT_EQ(Number([&](LONG* o) { return a->FormulaNoForCR(b, o); }),
              static_cast<long>(d.font.size() / 250 + 1));
}

TEST_F(MatrixClasses, AztecMessagesAndWarnings) {
    IAztec* a = NewAztec();
    ASSERT_TRUE(a);
    Bstr b(L"AZTEC");
    const std::wstring warning = L"Invalid error correction level - using default instead";
    // An out-of-range level: EncodeCR gives the warning, Encode the font text of the default
    // level. The setter refuses 20, so the warning reaches Encode only through EncodeCR.
    EXPECT_EQ(Text([&](BSTR* o) { return a->EncodeCR(b, 0, 0, 20, o); }), warning);
    EXPECT_EQ(Text([&](BSTR* o) { return a->EncodeCR(b, 2, 0, 20, o); }), L"");
    // Real failures come back as the message from every method.
    Bstr longer(std::wstring(200, L'x'));
    a->put_PreferredFormat(1);
    const std::wstring tooLong = L"Data too long for selected size";
    EXPECT_EQ(Text([&](BSTR* o) { return a->Encode(longer, o); }), tooLong);
    EXPECT_EQ(Text([&](BSTR* o) { return a->EncodeCR(longer, 0, 1, 5, o); }), tooLong);
    EXPECT_EQ(Number([&](LONG* o) { return a->FormulaNoForCR(longer, o); }), 1);
    a->put_PreferredFormat(0);
    Bstr huge(std::wstring(5000, L'x'));
    const Direct d = RunDirect(Aztec(false), {0, 5, 0}, std::string(5000, 'x'));
    ASSERT_GT(d.result, matrix::kWarning);
    EXPECT_EQ(Text([&](BSTR* o) { return a->Encode(huge, o); }), d.message);
    // Empty text: nothing to encode and no message.
    Bstr empty(L"");
    EXPECT_EQ(Text([&](BSTR* o) { return a->Encode(empty, o); }), L"");
    EXPECT_EQ(Text([&](BSTR* o) { return a->Encode(nullptr, o); }), L"");
}

TEST_F(MatrixClasses, DatamatrixMethodsGiveTheEncodersText) {
    IDatamatrix* dm = NewDatamatrix();
    ASSERT_TRUE(dm);
    for (const std::wstring& in : Inputs()) {
        const std::string bytes = Ansi(Decoded(in));
        Bstr b(in);
        for (SHORT crlf : {SHORT(1), SHORT(0), SHORT(-1)}) {
            dm->SetCRLF(crlf);  // any non-zero value is CR LF
            const bool cr = crlf != 0;
            const Direct d = RunDirect(DataMatrix(0, cr), {0, 1, 0}, bytes);
            EXPECT_EQ(Text([&](BSTR* o) { return dm->Encode(b, o); }), d.Result());
            EXPECT_EQ(Number([&](LONG* o) { return dm->FormulaNoForCR(b, o); }),
                      static_cast<long>(d.Result().size() / 250 + 1));
            const Direct sized = RunDirect(DataMatrix(3, cr), {0, 1, 12}, bytes);
            EXPECT_EQ(Text([&](BSTR* o) { return dm->EncodeCR(b, 0, 12, 3, 0, o); }),
                      sized.Result());
        }
    }
    dm->SetCRLF(1);
    // Format chooses the size: 0 to 23 the squares, 24 to 29 the rectangles.
    Bstr b(L"DATA MATRIX");
    for (SHORT format : {SHORT(0), SHORT(5), SHORT(23), SHORT(24), SHORT(29), SHORT(-1)}) {
        dm->put_Format(format);
        const Direct d = RunDirect(DataMatrix(0, true), {0, 1, format + 1}, "DATA MATRIX");
        EXPECT_EQ(Text([&](BSTR* o) { return dm->Encode(b, o); }), d.Result()) << format;
    }
    dm->put_Format(23);
    const Direct big = RunDirect(DataMatrix(0, true), {0, 1, 24}, "DATA MATRIX");
    EXPECT_EQ(big.rows, 144);
    dm->put_Format(24);
    EXPECT_EQ(RunDirect(DataMatrix(0, true), {0, 1, 25}, "DATA").rows, 8);
    // Too small a size: the encoder's warning is the result.
    dm->put_Format(0);
    Bstr longer(L"ABCDEFGHIJKLMNOP");
    EXPECT_EQ(Text([&](BSTR* o) { return dm->Encode(longer, o); }),
              L"Data does not fit in selected symbol size");
    dm->put_Format(-1);
    // Encodation reaches the encoder; GS1 reads bracketed data.
    dm->put_Encodation(4);
    EXPECT_EQ(Text([&](BSTR* o) { return dm->Encode(b, o); }),
              RunDirect(DataMatrix(4, true), {0, 1, 0}, "DATA MATRIX").Result());
    dm->put_Encodation(0);
    dm->put_GS1(1);
    const std::wstring gs1 = L"(01)09501101530003(17)250101";
    Bstr g(gs1);
    const Direct dg = RunDirect(DataMatrix(0, true), {0, 1, 0, 0, 0, 2}, Narrow(gs1));
    ASSERT_EQ(dg.result, 0) << Narrow(dg.message);
    EXPECT_EQ(Text([&](BSTR* o) { return dm->Encode(g, o); }), dg.font);
    EXPECT_EQ(Text([&](BSTR* o) { return dm->EncodeCR(g, 0, 0, 0, 1, o); }), dg.font);
    Bstr bad(L"(01)0950110153000");
    const Direct dbad = RunDirect(DataMatrix(0, true), {0, 1, 0, 0, 0, 2}, "(01)0950110153000");
    ASSERT_GT(dbad.result, 0);
    EXPECT_EQ(Text([&](BSTR* o) { return dm->Encode(bad, o); }), dbad.message);
    // EncodeCR's GS1 argument, not the property, decides.
    EXPECT_EQ(Text([&](BSTR* o) { return dm->EncodeCR(g, 0, 0, 0, 0, o); }),
              RunDirect(DataMatrix(0, true), {0, 1, 0}, Narrow(gs1)).font);
}

TEST_F(MatrixClasses, SemiT7AndCmdm) {
    IDatamatrix* dm = NewDatamatrix();
    ASSERT_TRUE(dm);
    const struct {
        std::wstring in;
        std::string encoded;
    } semi[] = {
        {L"AB", "AB--------"},    {L"ABCDEFGHIJKL", "ABCDEFGH--"},
        {L"&#65;", "&#65;-----"},  // no escape decoding
        {L"", "----------"},      {std::wstring(5000, L'Z'), "ZZZZZZZZ--"},
    };
    for (const auto& c : semi) {
        Bstr b(c.in);
        const Direct d = RunDirect(DataMatrix(0, true), {0, 1, 26}, c.encoded);
        ASSERT_EQ(d.result, 0);
        EXPECT_EQ(d.rows, 8);
        EXPECT_EQ(Text([&](BSTR* o) { return dm->SEMIT7(b, o); }), d.font) << c.encoded;
    }
    EXPECT_EQ(Text([&](BSTR* o) { return dm->SEMIT7(nullptr, o); }),
              RunDirect(DataMatrix(0, true), {0, 1, 26}, "----------").font);
    dm->SetCRLF(0);
    Bstr ab(L"AB");
    EXPECT_EQ(Text([&](BSTR* o) { return dm->SEMIT7(ab, o); }),
              RunDirect(DataMatrix(0, false), {0, 1, 26}, "AB--------").font);

    // CMDM: the check character of characters 11 to 30 at position 30, CR LF whatever the flag.
    const std::wstring head = L"JGB 01234";              // 10 characters with the space
    const std::wstring field = L"0123456789ABCDEF0123";  // characters 11 to 30
    const std::wstring tail = L"TAIL DATA 0123456789";
    const std::wstring check(1, static_cast<wchar_t>(matrix::cmdmCheckChar(
                                    reinterpret_cast<const char16_t*>(field.c_str()), 20)));
    for (const std::wstring& rest : {tail, std::wstring()}) {
        const std::wstring in = head + L" " + field + rest;
        Bstr b(in);
        const std::wstring encoded = head + L" " + field + check + rest;
        const Direct d = RunDirect(DataMatrix(matrix::kDmC40, true), {0, 1, 13}, Narrow(encoded));
        ASSERT_EQ(d.result, 0) << Narrow(d.message);
        EXPECT_EQ(Text([&](BSTR* o) { return dm->CMDM(b, o); }), d.font);
    }
    // No check character can be given without twenty hexadecimal characters: empty result.
    for (const std::wstring& in : {std::wstring(L"JGB 01234 0123"), std::wstring(),
                                   std::wstring(L"JGB 01234 0123456789abcdef0123XYZ")}) {
        Bstr b(in);
        EXPECT_EQ(Text([&](BSTR* o) { return dm->CMDM(b, o); }), L"");
    }
}

TEST_F(MatrixClasses, QrAndMicroQrMethodsGiveTheEncodersText) {
    IQRCode* q = NewQR();
    IMicroQRCode* mq = NewMicroQR();
    ASSERT_TRUE(q && mq);
    for (const std::wstring& in : Inputs()) {
        Bstr b(in);
        const std::string utf8 = Utf8(Decoded(in)), ansi = Ansi(Decoded(in));
        for (LONG crlf : {1L, 0L}) {
            q->SetCRLF(crlf);
            mq->SetCRLF(crlf);
            // Level M (1) by default, reaching the encoders as 2.
            const Direct d = RunDirect(Qr(crlf == 1), {0, 2}, utf8);
            EXPECT_EQ(Text([&](BSTR* o) { return q->Encode(b, o); }), d.Result());
            EXPECT_EQ(Number([&](LONG* o) { return q->FormulaNoForCR(b, o); }),
                      static_cast<long>(d.Result().size() / 250 + 1));
            EXPECT_EQ(Text([&](BSTR* o) { return q->EncodeCR(b, 0, 0, o); }),
                      RunDirect(Qr(crlf == 1), {0, 1}, utf8).Result());
            const Direct m = RunDirect(MicroQr(crlf == 1), {0, 2}, ansi);
            EXPECT_EQ(Text([&](BSTR* o) { return mq->Encode(b, o); }), m.Result());
            EXPECT_EQ(Number([&](LONG* o) { return mq->FormulaNoForCR(b, o); }),
                      static_cast<long>(m.Result().size() / 250 + 1));
            EXPECT_EQ(Text([&](BSTR* o) { return mq->EncodeCR(b, 0, 0, o); }),
                      RunDirect(MicroQr(crlf == 1), {0, 1}, ansi).Result());
        }
    }
    q->SetCRLF(1);
    mq->SetCRLF(1);
    Bstr b(L"LEVELS");
    q->put_ECLevel(3);
    EXPECT_EQ(Text([&](BSTR* o) { return q->Encode(b, o); }),
              RunDirect(Qr(true), {0, 4}, "LEVELS").font);
    EXPECT_EQ(Text([&](BSTR* o) { return q->EncodeCR(b, 0, 2, o); }),
              RunDirect(Qr(true), {0, 3}, "LEVELS").font);
    // Micro QR has no level H; more than 35 characters do not fit.
    mq->put_ECLevel(3);
    EXPECT_EQ(Text([&](BSTR* o) { return mq->Encode(b, o); }),
              L"Error correction level H not available");
    mq->put_ECLevel(0);
    Bstr longer(std::wstring(36, L'1'));
    EXPECT_EQ(Text([&](BSTR* o) { return mq->Encode(longer, o); }), L"Input data too long");
    Bstr huge(std::wstring(8000, L'x'));
    EXPECT_EQ(Text([&](BSTR* o) { return q->Encode(huge, o); }),
              L"Data too long for selected ECC level");
}

TEST_F(MatrixClasses, QrTakesUtf8AndTheOthersTheAnsiCodePage) {
    IQRCode* q = NewQR();
    IMicroQRCode* mq = NewMicroQR();
    IAztec* a = NewAztec();
    ASSERT_TRUE(q && mq && a);
    const std::wstring greek = L"\u0391\u03b8\u03ae\u03bd\u03b1";
    const std::wstring cjk = L"\u65e5\u672c\u8a9e\u4e2d\u6587";
    const std::wstring pair = L"A\U0001F600B";  // a surrogate pair: four UTF-8 bytes
    for (const std::wstring& in : {greek, cjk, pair}) {
        Bstr b(in);
        EXPECT_EQ(Text([&](BSTR* o) { return q->Encode(b, o); }),
                  RunDirect(Qr(true), {0, 2}, Utf8(in)).font);
    }
    EXPECT_EQ(Utf8(pair),
              "A\xf0\x9f\x98\x80"
              "B");
    // A lone surrogate has no character to carry: it goes as U+FFFD, as the platform's
    // conversion writes it.
    Bstr lone(std::wstring(L"A") + static_cast<wchar_t>(0xD800) + L"B");
    EXPECT_EQ(Text([&](BSTR* o) { return q->Encode(lone, o); }),
              RunDirect(Qr(true), {0, 2}, Utf8(std::wstring(L"A\uFFFDB"))).font);
    // The other classes: the ANSI code page, one byte a character in a single-byte page.
    const std::wstring latin = L"Gr\u00fc\u00dfe";
    Bstr b(latin);
    EXPECT_EQ(Ansi(latin).size(), 5u);
    EXPECT_EQ(Text([&](BSTR* o) { return mq->Encode(b, o); }),
              RunDirect(MicroQr(true), {0, 2}, Ansi(latin)).font);
    EXPECT_EQ(Text([&](BSTR* o) { return a->Encode(b, o); }),
              RunDirect(Aztec(false), {0, 5}, Ansi(latin)).font);
    EXPECT_NE(Text([&](BSTR* o) { return a->Encode(b, o); }),
              RunDirect(Aztec(false), {0, 5}, Utf8(latin)).font);
}

TEST_F(MatrixClasses, Pdf417AndMicroPdf417MethodsGiveTheEncodersText) {
    IPDF417* p = NewPDF417();
    IMicroPDF417* mp = NewMicroPDF417();
    ASSERT_TRUE(p && mp);
    const auto& n = matrix::Numbers(matrix::Build::Server);
    for (const std::wstring& in : Inputs()) {
        Bstr b(in);
        const std::string bytes = Ansi(Decoded(in));
        for (VARIANT_BOOL crlf : {VARIANT_TRUE, VARIANT_FALSE, VARIANT_BOOL(1)}) {
            p->SetCRLF(crlf);
            const bool cr = crlf != 0;
            // Defaults: security 0 asks for level 1.
            const Direct d = RunDirect(Pdf417(cr), {n.pdf417, 1}, bytes);
            EXPECT_EQ(Text([&](BSTR* o) { return p->Encode(b, o); }), d.Result());
            EXPECT_EQ(Number([&](LONG* o) { return p->FormulaNoForCR(b, o); }),
                      static_cast<long>(d.Result().size() / 250 + 1));
            EXPECT_EQ(Text([&](BSTR* o) { return p->EncodeCR(b, 0, 0, 0, 0, 0, 0, o); }),
                      d.Result());
            EXPECT_EQ(Text([&](BSTR* o) { return p->EncodeCR(b, 0, 20, 3, 5, 2, 1, o); }),
                      RunDirect(Pdf417(cr), {n.pdf417Truncated, 4, 3, 20, 2}, bytes).Result());
            mp->SetCRLF(crlf);  // kept, never read: always CR LF
            const Direct m = RunDirect(MicroPdf417(), {n.microPdf417}, bytes);
            EXPECT_EQ(Text([&](BSTR* o) { return mp->Encode(b, o); }), m.Result());
            EXPECT_EQ(Text([&](BSTR* o) { return mp->EncodeCR(b, 0, o); }), m.Result());
            EXPECT_EQ(Number([&](LONG* o) { return mp->FormulaNoForCR(b, o); }),
                      static_cast<long>(m.Result().size() / 250 + 1));
        }
    }
    // The properties reach Encode; out-of-range values leave them.
    Bstr b(L"PDF417 PROPERTIES 1234567890");
    p->SetCRLF(VARIANT_TRUE);
    p->put_SecurityLevel(4);
    p->put_SecurityLevel(10);
    p->put_fixedColumns(3);
    p->put_fixedColumns(-1);
    p->put_MaxRows(12);
    p->put_MaxRows(-5);
    p->put_CompactionMode(1);
    p->put_CompactionMode(4);
    p->put_Truncate(1);
    p->put_Truncate(2);
    const std::string bytes = "PDF417 PROPERTIES 1234567890";
    const Direct d = RunDirect(Pdf417(true), {n.pdf417Truncated, 3, 3, 12, 1}, bytes);
    ASSERT_EQ(d.result, 0) << Narrow(d.message);
    EXPECT_EQ(Text([&](BSTR* o) { return p->Encode(b, o); }), d.font);
    // An encoder's warning is the result.
    EXPECT_EQ(Text([&](BSTR* o) { return p->EncodeCR(b, 0, 0, 0, 11, 0, 0, o); }),
              L"Invalid security level");
    EXPECT_EQ(Text([&](BSTR* o) { return p->EncodeCR(b, 0, 0, 31, 0, 0, 0, o); }),
              L"invalid column number");
    // Long input reaches the encoders whole and comes back as their message.
    Bstr huge(std::wstring(3000, L'x'));
    EXPECT_EQ(Text([&](BSTR* o) { return mp->Encode(huge, o); }), L"Data too long");
    EXPECT_EQ(Text([&](BSTR* o) { return p->Encode(huge, o); }), L"Data too long");
    Bstr over(std::wstring(400, L'x'));
    EXPECT_EQ(Text([&](BSTR* o) { return mp->Encode(over, o); }), L"Data too long");
}

// Option arguments at both ends of their range reach the encoders as the encoders' own
// calls would take them: the level shift (+1) and the security shift (-1) hold to the int
// range instead of overflowing, and every other option goes as it is.
TEST_F(MatrixClasses, ExtremeArgumentsReachTheEncodersInRange) {
    IQRCode* q = NewQR();
    IMicroQRCode* mq = NewMicroQR();
    IPDF417* p = NewPDF417();
    IAztec* a = NewAztec();
    IDatamatrix* dm = NewDatamatrix();
    IMaxicode* mx = NewMaxicode();
    ASSERT_TRUE(q && mq && p && a && dm && mx);
    const auto& n = matrix::Numbers(matrix::Build::Server);
    Bstr b(L"EXTREME 123");
    const std::string bytes = "EXTREME 123";
    EXPECT_EQ(Text([&](BSTR* o) { return q->EncodeCR(b, 0, INT_MAX, o); }),
              RunDirect(Qr(true), {0, INT_MAX}, bytes).Result());
    EXPECT_EQ(Text([&](BSTR* o) { return q->EncodeCR(b, 0, INT_MIN, o); }),
              RunDirect(Qr(true), {0, INT_MIN + 1}, bytes).Result());
    EXPECT_EQ(Text([&](BSTR* o) { return mq->EncodeCR(b, 0, INT_MAX, o); }),
              RunDirect(MicroQr(true), {0, INT_MAX}, bytes).Result());
    EXPECT_EQ(Text([&](BSTR* o) { return mq->EncodeCR(b, 0, INT_MIN, o); }),
              RunDirect(MicroQr(true), {0, INT_MIN + 1}, bytes).Result());
    EXPECT_EQ(Text([&](BSTR* o) { return p->EncodeCR(b, 0, 0, 0, INT_MIN, 0, 0, o); }),
              RunDirect(Pdf417(true), {n.pdf417, INT_MIN}, bytes).Result());
    EXPECT_EQ(Text([&](BSTR* o) { return p->EncodeCR(b, 0, 0, 0, INT_MAX, 0, 0, o); }),
              RunDirect(Pdf417(true), {n.pdf417, INT_MAX - 1}, bytes).Result());
    for (const int v : {INT_MIN, INT_MAX}) {
        SCOPED_TRACE(v);
        const int security = v == INT_MIN ? INT_MIN : INT_MAX - 1;
        EXPECT_EQ(Text([&](BSTR* o) { return p->EncodeCR(b, 0, v, v, v, v, v, o); }),
                  RunDirect(Pdf417(true), {n.pdf417, security, v, v, v}, bytes).Result());
        EXPECT_EQ(Text([&](BSTR* o) { return a->EncodeCR(b, 0, v, v, o); }),
                  RunDirect(Aztec(true), {0, v, v}, bytes).Result());
        EXPECT_EQ(Text([&](BSTR* o) { return dm->EncodeCR(b, 0, v, v, v, o); }),
                  RunDirect(DataMatrix(v, true), {0, 1, v}, bytes).Result());
        EXPECT_EQ(Text([&](BSTR* o) { return mx->EncodeCR(b, 0, v, o); }),
                  RunDirect(Maxicode(), {n.maxicode, v}, bytes).Result());
        // Piece numbers at the ends: the first piece, and one far beyond the text.
        const std::wstring whole = Text([&](BSTR* o) { return q->Encode(b, o); });
        EXPECT_EQ(Text([&](BSTR* o) { return q->EncodeCR(b, v, 1, o); }),
                  v < 0 ? whole.substr(0, 250) : L"");
    }
}

TEST_F(MatrixClasses, MaxicodeEncodesInTheAutomaticMode) {
    IMaxicode* m = NewMaxicode();
    ASSERT_TRUE(m);
    const auto& n = matrix::Numbers(matrix::Build::Server);
    for (const std::wstring& in : Inputs()) {
        Bstr b(in);
        const std::string bytes = Ansi(Decoded(in));
        const Direct d = RunDirect(Maxicode(), {n.maxicode, -1}, bytes);
        ASSERT_EQ(d.result, 0) << Narrow(d.message);
        for (VARIANT_BOOL crlf : {VARIANT_TRUE, VARIANT_FALSE}) {
            m->SetCRLF(crlf);  // kept, never read
            EXPECT_EQ(Text([&](BSTR* o) { return m->Encode(b, o); }), d.font);
            EXPECT_EQ(Number([&](LONG* o) { return m->FormulaNoForCR(b, o); }),
                      static_cast<long>(d.font.size() / 250 + 1));
            EXPECT_EQ(Text([&](BSTR* o) { return m->EncodeCR(b, 0, -1, o); }), d.font);
            EXPECT_EQ(Text([&](BSTR* o) { return m->EncodeCR(b, 0, 5, o); }),
                      RunDirect(Maxicode(), {n.maxicode, 5}, bytes).font);
        }
    }
    Bstr b(L"MAXICODE");
    EXPECT_EQ(Text([&](BSTR* o) { return m->EncodeCR(b, 0, 7, o); }), L"Maxicode Mode invalid");
    EXPECT_EQ(Text([&](BSTR* o) { return m->EncodeCR(b, 0, 0, o); }), L"Maxicode Mode invalid");
    EXPECT_EQ(Text([&](BSTR* o) { return m->EncodeCR(b, 0, 2, o); }), L"Invalid Primary String");
    for (std::size_t len : {139u, 3000u}) {
        Bstr longer(std::wstring(len, L'A'));
        EXPECT_EQ(Text([&](BSTR* o) { return m->Encode(longer, o); }), L"Input data too long");
    }
}

TEST_F(MatrixClasses, Code16kGivesTheEncodersText) {
    ICode16k* c = NewCode16k();
    ASSERT_TRUE(c);
    const std::wstring inputs[] = {L"CODE 16K",
                                   L"1234",
                                   L"12345",
                                   L"&#65;bc",
                                   L"",
                                   std::wstring(300, L'7'),
                                   std::wstring(3000, L'Q')};
    for (const std::wstring& in : inputs) {
        Bstr b(in);
        for (VARIANT_BOOL crlf : {VARIANT_TRUE, VARIANT_FALSE, VARIANT_BOOL(1)}) {
            c->SetCRLF(crlf);
            // Past 2,047 characters the input is cut there, as the encoder's own bound does.
            const std::wstring cut = in.substr(0, 2047);
            const std::wstring want = reinterpret_cast<const wchar_t*>(matrix::EncodeCode16K(
                linear::LinearContext(), reinterpret_cast<const char16_t*>(cut.c_str()),
                matrix::Call::Server(crlf != 0)));
            const std::wstring got = Text([&](BSTR* o) { return c->Encode(b, o); });
            EXPECT_EQ(got, want);
            EXPECT_EQ(got.find(L'\r') != std::wstring::npos, crlf != 0 && !in.empty());
            EXPECT_EQ(Text([&](BSTR* o) { return c->EncodeCR(b, 1, o); }), want.substr(0, 250));
        }
    }
    EXPECT_EQ(Text([&](BSTR* o) { return c->Encode(nullptr, o); }), L"");
}

// ------------------------------------------------------------------------------------------
// Pieces of the largest symbols

template <class F>
std::wstring Joined(long count, F piece) {
    std::wstring all;
    for (long i = 1; i <= count; ++i) {
        const std::wstring p = Text([&](BSTR* o) { return piece(i, o); });
        EXPECT_LE(p.size(), 250u);
        all += p;
    }
    return all;
}

TEST_F(MatrixClasses, PiecesOfTheLargestSymbolsReassemble) {
    IQRCode* q = NewQR();
    IDatamatrix* dm = NewDatamatrix();
    ASSERT_TRUE(q && dm);
    // QR Code version 40 at level L: 2,953 bytes.
    std::wstring qrData;
    for (int i = 0; i < 2900; ++i) qrData += static_cast<wchar_t>(L'a' + i % 26);
    Bstr qb(qrData);
    q->put_ECLevel(0);
    const std::wstring whole = Text([&](BSTR* o) { return q->Encode(qb, o); });
    const Direct dq = RunDirect(Qr(true), {0, 1}, Narrow(qrData));
    ASSERT_EQ(dq.result, 0);
    EXPECT_EQ(dq.rows, 177);
    EXPECT_EQ(whole, dq.font);
    const long count = Number([&](LONG* o) { return q->FormulaNoForCR(qb, o); });
    EXPECT_EQ(count, static_cast<long>(whole.size() / 250 + 1));
    EXPECT_GT(count, 30);
    EXPECT_EQ(Joined(count, [&](long i, BSTR* o) { return q->EncodeCR(qb, i, 0, o); }), whole);
    EXPECT_EQ(Text([&](BSTR* o) { return q->EncodeCR(qb, count + 1, 0, o); }), L"");
    EXPECT_EQ(Text([&](BSTR* o) { return q->EncodeCR(qb, -3, 0, o); }), whole.substr(0, 250));

    // Data Matrix 144 x 144: 1,558 data codewords, 3,116 digits.
    const std::wstring digits(3000, L'7');
    Bstr db(digits);
    const std::wstring dmWhole = Text([&](BSTR* o) { return dm->Encode(db, o); });
    const Direct dd = RunDirect(DataMatrix(0, true), {0, 1, 0}, Narrow(digits));
    ASSERT_EQ(dd.result, 0);
    EXPECT_EQ(dd.rows, 144);
    EXPECT_EQ(dmWhole, dd.font);
    const long dmCount = Number([&](LONG* o) { return dm->FormulaNoForCR(db, o); });
    EXPECT_EQ(dmCount, static_cast<long>(dmWhole.size() / 250 + 1));
    EXPECT_EQ(Joined(dmCount, [&](long i, BSTR* o) { return dm->EncodeCR(db, i, 0, 0, 0, o); }),
              dmWhole);
}

// ------------------------------------------------------------------------------------------
// Symbols made from the classes' font text, read back by the independent decoder

// The band text of a method as a module matrix of `rows` rows.
Matrix Modules(const std::wstring& font, int rows) {
    const auto m = testing_support::BandTextToMatrix(Narrow(font), rows);
    EXPECT_TRUE(m.has_value());
    return m ? *m : Matrix();
}

// A class's Maxicode font text as the hexagon font draws it, finder and all.
Image RenderHexagons(const std::wstring& font) {
    std::u16string text;
    for (wchar_t c : font) text += static_cast<char16_t>(c);
    return testing_support::RenderMaxicodeText(text);
}

TEST_F(MatrixClasses, SymbolsReadBackThroughTheFontText) {
    IAztec* a = NewAztec();
    IDatamatrix* dm = NewDatamatrix();
    IQRCode* q = NewQR();
    IMicroQRCode* mq = NewMicroQR();
    IPDF417* p = NewPDF417();
    IMaxicode* mx = NewMaxicode();
    ASSERT_TRUE(a && dm && q && mq && p && mx);
    const auto& n = matrix::Numbers(matrix::Build::Server);
    const std::wstring latin = L"Gr\u00fc\u00dfe &#65;BC 123";
    const std::wstring texts[] = {L"AZTEC CODE 0123456789", latin, L"Line one\r\nline two"};
    ReadBackBatch batch;
    for (const std::wstring& in : texts) {
        Bstr b(in);
        const std::string bytes = Ansi(Decoded(in));
        const std::string label = " of " + std::to_string(in.size()) + " characters";
        // Aztec, Data Matrix, Micro QR and PDF417: the ANSI bytes read back.
        {
            const Direct d = RunDirect(Aztec(true), {0, 5}, bytes);
            const std::wstring t = Text([&](BSTR* o) { return a->EncodeCR(b, 0, 0, 5, o); });
            ASSERT_EQ(t, d.font);
            batch.Add("Aztec" + label, RenderMatrix(Modules(t, d.rows), 3, 4), "Aztec", true, bytes,
                      true);
        }
        {
            const Direct d = RunDirect(DataMatrix(0, true), {0, 1}, bytes);
            const std::wstring t = Text([&](BSTR* o) { return dm->Encode(b, o); });
            ASSERT_EQ(t, d.font);
            batch.Add("DataMatrix" + label, RenderMatrix(Modules(t, d.rows), 3, 2), "DataMatrix",
                      true, bytes, true);
        }
        {
            const Direct d = RunDirect(MicroQr(true), {0, 2}, bytes);
            const std::wstring t = Text([&](BSTR* o) { return mq->Encode(b, o); });
            ASSERT_EQ(t, d.Result());
            if (d.result == 0)
                batch.Add("MicroQR" + label, RenderMatrix(Modules(t, d.rows), 3, 2), "MircoQRCode",
                          true, bytes, true);
        }
        {
            const Direct d = RunDirect(Pdf417(true), {n.pdf417, 1}, bytes);
            const std::wstring t = Text([&](BSTR* o) { return p->Encode(b, o); });
            ASSERT_EQ(t, d.font);
            const Matrix m = Modules(t, d.rows);
            const std::vector<testing_support::Modules> rows(m.begin(), m.end());
            batch.Add("PDF417" + label,
                      testing_support::RenderRows(rows, std::vector<int>(rows.size(), 6), 2, 4),
                      "PDF417", true, bytes, true);
        }
        if (bytes.find('\r') == std::string::npos) {
            // Maxicode: the class's font text drawn in the hexagon font shows the finder's
            // rings and reads back.
            const Direct d = RunDirect(Maxicode(), {n.maxicode, -1}, bytes);
            const std::wstring t = Text([&](BSTR* o) { return mx->Encode(b, o); });
            ASSERT_EQ(t, d.font);
            const Image image = RenderHexagons(t);
            EXPECT_EQ(testing_support::MaxicodeFinderProblem(image), "") << label;
            batch.Add("MaxiCode" + label, image, "MaxiCode", true, bytes, true);
        }
    }
    // Maxicode's other modes the class offers: 5 (enhanced error correction) and 6 (reader
    // programming), finder and data alike.
    for (const long mode : {5L, 6L}) {
        const std::wstring in = L"Kestrivo mode " + std::to_wstring(mode) + L" 0123456789";
        Bstr b(in);
        const std::wstring t = Text([&](BSTR* o) { return mx->EncodeCR(b, 0, mode, o); });
        const Image image = RenderHexagons(t);
        EXPECT_EQ(testing_support::MaxicodeFinderProblem(image), "") << "mode " << mode;
        batch.Add("MaxiCode mode " + std::to_string(mode), image, "MaxiCode", true, Narrow(in), true);
    }
    for (const std::wstring& in : {std::wstring(L"12345"), std::wstring(L"MICRO QR")}) {
        Bstr b(in);
        const Direct d = RunDirect(MicroQr(true), {0, 2}, Narrow(in));
        const std::wstring t = Text([&](BSTR* o) { return mq->Encode(b, o); });
        ASSERT_EQ(t, d.font);
        batch.Add("MicroQR " + Narrow(in), RenderMatrix(Modules(t, d.rows), 3, 2), "MircoQRCode",
                  true, Narrow(in));
    }
    // QR Code: UTF-8, so Greek and CJK text reads back unchanged.
    for (const std::wstring& in :
         {std::wstring(L"\u0391\u03b8\u03ae\u03bd\u03b1 \u03ba\u03b1\u03b9 "
                       L"\u03a3\u03c0\u03ac\u03c1\u03c4\u03b7"),
          std::wstring(L"\u65e5\u672c\u8a9e\u306e\u6587\u7ae0\u3068\u4e2d\u6587"),
          std::wstring(L"QR CODE 12345"), latin}) {
        Bstr b(in);
        const std::string utf8 = Utf8(Decoded(in));
        const Direct d = RunDirect(Qr(true), {0, 2}, utf8);
        const std::wstring t = Text([&](BSTR* o) { return q->Encode(b, o); });
        ASSERT_EQ(t, d.font);
        batch.Add("QRCode of " + std::to_string(in.size()) + " characters",
                  RenderMatrix(Modules(t, d.rows), 3, 4), "QRCode", true, utf8);
    }
    // The largest symbols read back too.
    {
        std::wstring data;
        for (int i = 0; i < 2900; ++i) data += static_cast<wchar_t>(L'a' + i % 26);
        Bstr b(data);
        q->put_ECLevel(0);
        const Direct d = RunDirect(Qr(true), {0, 1}, Narrow(data));
        batch.Add(
            "QRCode version 40",
            RenderMatrix(Modules(Text([&](BSTR* o) { return q->Encode(b, o); }), d.rows), 2, 4),
            "QRCode", true, Narrow(data));
        const std::wstring digits(3000, L'7');
        Bstr db(digits);
        const Direct dd = RunDirect(DataMatrix(0, true), {0, 1}, Narrow(digits));
        batch.Add(
            "DataMatrix 144x144",
            RenderMatrix(Modules(Text([&](BSTR* o) { return dm->Encode(db, o); }), dd.rows), 2, 2),
            "DataMatrix", true, Narrow(digits));
    }
    EXPECT_TRUE(batch.Write("readback/matrix"));
}

}  // namespace
