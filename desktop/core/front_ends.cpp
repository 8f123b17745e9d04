#include "front_ends.h"

#include <memory>
#include <optional>
#include <string>

#include "cmdm.h"
#include "intelligent_mail.h"
#include "code16k_desktop.h"
#include "record.h"
#include "symbols.h"
#include "semi.h"
#include "settings.h"
#include "text.h"

namespace desktop {

namespace {

using matrix::SymbolRecord;

const char16_t* Result(Session& s, std::u16string_view text) {
    return linear::Publish(s.linear, s.linear.resultBuffer(), text);
}

// The input with its numeric escapes decoded (desktop rules); what the decode leaves out is
// reported to the session's context, as every loss of a front-end is.
std::u16string Decoded(Session& s, const char16_t* text) {
    return linear::DecodeCharRefs(s.linear, text);
}

std::u16string Plain(const char16_t* text) { return std::u16string(text ? text : u""); }

// How the font text comes back to UTF-16.
enum class Back { ThreadCodePage, Bytes };

// The encoder of a front-end: a symbol kind of encoders/matrix, or none for the desktop's
// own Code 16K.
struct Encoder {
    std::optional<matrix::Symbol> kind;
    Back back = Back::ThreadCodePage;
};
constexpr Encoder kCode16K{std::nullopt, Back::Bytes};

// Runs one encoder on a zeroed record that `fill` prepares; the font text, or "" with the
// encoder's message in the message line.
template <typename Fill>
const char16_t* Run(Session& s, const Encoder& encoder, const std::string& bytes, Fill fill) {
    auto rec = std::make_unique<SymbolRecord>();
    fill(*rec);
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    const matrix::Call call = matrix::Call::Desktop();
    const int result = encoder.kind ? matrix::EncodeSymbol(*encoder.kind, *rec, data, call)
                                    : EncodeCode16KRecord(*rec, data, call);
    if (result > 0) {
        rec->errorText[sizeof rec->errorText - 1] = 0;
        s.platform.SetMessageLine(WidenMessage(rec->errorText));
        return Result(s, u"");
    }
    rec->fontText[sizeof rec->fontText - 1] = 0;
    const std::string_view font(rec->fontText);
    std::u16string wide;
    if (encoder.back == Back::Bytes) wide = WidenBytes(font);
    else FromAnsi(s.platform, CodePage::Thread, font, wide);
    return Result(s, wide);
}

// The text in the 8-bit code page: a character that does not come back the same from it was
// replaced in the conversion.
std::string Ansi(Session& s, CodePage page, std::u16string_view text) {
    std::string out;
    std::u16string back;
    if (!ToAnsi(s.platform, page, text, out)) {  // on failure: no data, never a partial text
        if (!text.empty()) s.linear.lose(linear::kLossDropped);
    } else if (!FromAnsi(s.platform, page, out, back) || back != text) {
        s.linear.lose(linear::kLossReplaced);
    }
    return out;
}

// The text in UTF-8, where a lone surrogate becomes U+FFFD.
std::string Utf8(Session& s, std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        else if (c >= 0xD800 && c <= 0xDFFF)
            s.linear.lose(linear::kLossReplaced);
    }
    return ToUtf8(text);
}

std::u16string CutTo(Session& s, std::u16string text, std::size_t n) {
    if (text.size() > n) {
        text.resize(n);
        s.linear.lose(linear::kLossCut);
    }
    return text;
}

// The DataBar forms of 13 digits: cut to 13 characters, or "0" appended until 13.
const char16_t* DatabarFixed(Session& s, const char16_t* text, matrix::Symbol kind) {
    std::u16string data = Decoded(s, text);
    if (data.size() > 13) {
        // The symbol has its own check digit after the 13: one typed in its place is kept when
        // it is that one; what follows it is cut.
        if (data.size() > 14) s.linear.lose(linear::kLossCut);
        if (data[13] != linear::Mod10Check(std::u16string_view(data).substr(0, 13))) s.linear.lose(linear::kLossReplaced);
        data.resize(13);
    }
    data.resize(13, u'0');
    return Run(s, {kind}, Ansi(s, CodePage::Thread, data), [](SymbolRecord& r) { r.option1 = 0; });
}

// The whole text: what fits the symbol is encoded whole, what does not gets the encoder's
// message (a cut would drop the last fields and still report success).
const char16_t* DatabarExpanded(Session& s, const char16_t* text, matrix::Symbol kind) {
    const std::u16string data = Decoded(s, text);
    return Run(s, {kind}, Ansi(s, CodePage::Thread, data), [](SymbolRecord& r) { r.option1 = 0; });
}

}  // namespace

int AztecSizeForEntry(int index) {
    if (index <= 0 || index >= static_cast<int>(kAztecPreferredFormatEntries.size())) return 0;
    int compact = 0, full = 0, size = 0;
    for (int i = 1; i <= index; ++i) {
        if (kAztecPreferredFormatEntries[static_cast<std::size_t>(i)].find(u"compact") !=
            std::u16string_view::npos)
            size = ++compact;
        else
            size = 4 + ++full;
    }
    return size;
}

int PDF417LevelForEntry(int index) {
    if (index <= 0 || index >= static_cast<int>(kPDF417SecurityLevelEntries.size())) return -1;
    return index;
}

int AztecLevelForEntry(int index) {
    return index >= 0 && index < static_cast<int>(kAztecECLevelEntries.size()) ? index : 4;
}

const char16_t* FrontEndDatabar(Session& s, const char16_t* text) {
    return DatabarFixed(s, text, matrix::Symbol::DatabarOmni);
}
const char16_t* FrontEndDatabarStacked(Session& s, const char16_t* text) {
    return DatabarFixed(s, text, matrix::Symbol::DatabarStacked);
}
const char16_t* FrontEndDatabarStackedOmni(Session& s, const char16_t* text) {
    return DatabarFixed(s, text, matrix::Symbol::DatabarStackedOmni);
}
const char16_t* FrontEndDatabarLimited(Session& s, const char16_t* text) {
    return DatabarFixed(s, text, matrix::Symbol::DatabarLimited);
}
const char16_t* FrontEndDatabarExpanded(Session& s, const char16_t* text) {
    return DatabarExpanded(s, text, matrix::Symbol::DatabarExpanded);
}
const char16_t* FrontEndDatabarExpandedStacked(Session& s, const char16_t* text) {
    return DatabarExpanded(s, text, matrix::Symbol::DatabarExpandedStacked);
}

const char16_t* FrontEndMaxicode(Session& s, const char16_t* text) {
    const std::u16string data = CutTo(s, Decoded(s, text), 138);
    return Run(s, {matrix::Symbol::Maxicode}, Ansi(s, CodePage::Thread, data), [&](SymbolRecord& r) {
        r.option1 = s.options.MaxicodeMode + 2;
    });
}

const char16_t* FrontEndIntelligentMail(Session& s, const char16_t* text) {
    std::u16string data = Plain(text);
    if (data.size() < 25) data.resize(25, u'0');
    data = CutTo(s, data, 31);
    // The encoder takes every character as a digit (its code less that of "0") and reports
    // nothing: a symbol of other digits than the typed ones is told here.
    for (char16_t c : data)
        if (c < u'0' || c > u'9') s.linear.lose(linear::kLossNotDigit);
    matrix::IntelligentMailEncoder encoder;
    return Result(s, encoder.Encode(data.substr(0, 20), data.substr(20)));
}

const char16_t* FrontEndDataMatrix(Session& s, const char16_t* text) {
    const OptionSettings& o = s.options;
    return Run(s, {matrix::Symbol::DataMatrix}, Utf8(s, Decoded(s, text)), [&](SymbolRecord& r) {
        r.option1 = 1;
        r.option2 = o.DataMatrixFormat;
        r.option4 = o.DataMatrixEncodation;
        r.inputMode = o.GS1Mode == 1 ? 2 : 0;
    });
}

// The check character goes at position 30 and sums the 20 characters from position 10, so
// a text shorter than 30 characters (after its escapes are decoded) has no symbol.
const char16_t* FrontEndRoyalMailCMDM(Session& s, const char16_t* text) {
    std::u16string data = Decoded(s, text);
    constexpr std::size_t kCheckPosition = 30;
    if (data.size() < kCheckPosition) return Result(s, u"");
    data.insert(data.begin() + kCheckPosition, matrix::cmdmCheckChar(data.data() + 10, 20));
    return Run(s, {matrix::Symbol::DataMatrix}, Ansi(s, CodePage::System, data), [](SymbolRecord& r) {
        r.option1 = 1;
        r.option2 = 13;
        r.option4 = 2;  // C40
        r.inputMode = 0;
    });
}

const char16_t* FrontEndAztec(Session& s, const char16_t* text) {
    const OptionSettings& o = s.options;
    return Run(s, {matrix::Symbol::Aztec}, Ansi(s, CodePage::System, Decoded(s, text)),
               [&](SymbolRecord& r) {
                   r.option1 = AztecLevelForEntry(o.AztecECLevel);
                   r.option2 = AztecSizeForEntry(o.AztecPreferredFormat);
                   r.inputMode = 0;
               });
}

namespace {
// The SEMI M12 text of the decoded input.
std::string SemiM12Bytes(Session& s, const char16_t* text) {
    const std::u16string decoded = Decoded(s, text);
    const std::u16string semi(linear::EncodeSemiM12(s.linear, decoded.c_str()));
    return Ansi(s, CodePage::System, semi);
}
}  // namespace

const char16_t* FrontEndDataMatrixSEMI(Session& s, const char16_t* text) {
    return Run(s, {matrix::Symbol::DataMatrix}, SemiM12Bytes(s, text), [](SymbolRecord& r) {
        r.option1 = 1;
        r.option2 = 26;
        r.inputMode = 0;
    });
}

const char16_t* FrontEndQRCodeSEMI(Session& s, const char16_t* text) {
    return Run(s, {matrix::Symbol::QRCode}, SemiM12Bytes(s, text), [](SymbolRecord& r) {
        r.option1 = 4;
        r.inputMode = 0;
    });
}

const char16_t* FrontEndPDF417(Session& s, const char16_t* text) {
    const OptionSettings& o = s.options;
    const matrix::Symbol kind = o.PDF417Truncate == 1 ? matrix::Symbol::PDF417Truncated : matrix::Symbol::PDF417;
    return Run(s, {kind}, Ansi(s, CodePage::System, Decoded(s, text)),
               [&](SymbolRecord& r) {
                   r.option1 = PDF417LevelForEntry(o.PDF417SecurityLevel);
                   r.option2 = o.PDF417FixedColumns;
                   r.option3 = o.PDF417MaxRows;
                   r.option4 = o.PDF417CompactionMode;
                   r.inputMode = 0;
               });
}

const char16_t* FrontEndMicroPDF417(Session& s, const char16_t* text) {
    return Run(s, {matrix::Symbol::MicroPDF417}, Ansi(s, CodePage::Thread, Decoded(s, text)),
               [](SymbolRecord& r) { r.option1 = 0; });
}

// The Code 16K font's glyphs sit at fixed 8-bit codes: its text is widened byte for byte.
const char16_t* FrontEndCode16K(Session& s, const char16_t* text) {
    const std::u16string data = Decoded(s, text);
    if (data.empty()) return Result(s, u"");
    return Run(s, kCode16K, Ansi(s, CodePage::System, data), [](SymbolRecord& r) {
        r.symbology = matrix::Numbers(matrix::Build::Desktop).code16k;
        r.inputMode = 0;
    });
}

const char16_t* FrontEndQRCode(Session& s, const char16_t* text) {
    const OptionSettings& o = s.options;
    return Run(s, {matrix::Symbol::QRCode}, Utf8(s, Decoded(s, text)), [&](SymbolRecord& r) {
        r.option1 = o.QRCodeECLevel + 1;
        r.inputMode = 0;
    });
}

const char16_t* FrontEndMicroQRCode(Session& s, const char16_t* text) {
    const OptionSettings& o = s.options;
    return Run(s, {matrix::Symbol::MicroQRCode}, Utf8(s, Decoded(s, text)), [&](SymbolRecord& r) {
        r.option1 = o.QRCodeECLevel + 1;
        r.inputMode = 0;
    });
}

const char16_t* FrontEndPharmaOne(Session& s, const char16_t* text) {
    return Run(s, {matrix::Symbol::PharmaOne}, Ansi(s, CodePage::Thread, Plain(text)), [](SymbolRecord&) {});
}

const char16_t* FrontEndPharmaTwo(Session& s, const char16_t* text) {
    return Run(s, {matrix::Symbol::PharmaTwo}, Ansi(s, CodePage::Thread, Plain(text)), [](SymbolRecord&) {});
}

}  // namespace desktop
