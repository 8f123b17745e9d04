#include "loss.h"

#include <algorithm>

#include "front_ends.h"
#include "gs1_128.h"
#include "semi.h"
#include "text.h"

namespace desktop {

namespace {

// The text that a routine decodes back to `decoded`: an "&#" of the decoded text would open
// an escape again, so its "&" is written as an escape itself.
std::u16string Escaped(std::u16string_view decoded) {
    std::u16string out;
    out.reserve(decoded.size());
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        if (decoded[i] == u'&' && i + 1 < decoded.size() && decoded[i + 1] == u'#')
            out += u"&#38;";
        else
            out += decoded[i];
    }
    return out;
}

// Probes a linear routine, which decodes escapes, drops what its symbology cannot carry and
// appends within the bound: the shortest prefix of the decoded text that gives the same font
// text is what the symbol carries; the rest is cut (when the bound was reached or the row
// carries one of its characters) or left out. A character of the carried part whose removal
// leaves the font text as it is, is left out.
// `upcEan`: a row of the UPC/EAN family, whose digits have places: it writes its own check
// digit after the data, so one character past the carried part is the user's check digit in
// its place (right or not, the symbol has the right one), and a digit whose removal changes
// nothing (the number system 0 of UPC-E) is not left out.
unsigned LinearLoss(Session& s, EncodeFn fn, std::u16string_view text, std::u16string_view fontText,
                    bool upcEan = false) {
    const std::u16string typed(text);
    const std::u16string decoded = linear::DecodeCharRefs(s.linear.profile(), typed.c_str());
    auto same = [&](std::u16string_view d) { return fontText == fn(s, Escaped(d).c_str()); };
    if (decoded.empty() || !same(decoded)) return kNoLoss;  // nothing to judge by

    std::size_t lo = 0, hi = decoded.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (same(std::u16string_view(decoded).substr(0, mid)))
            hi = mid;
        else
            lo = mid + 1;
    }
    const std::u16string_view carried = std::u16string_view(decoded).substr(0, hi);
    const std::u16string_view tail = std::u16string_view(decoded).substr(hi);

    unsigned loss = kNoLoss;
    if (!tail.empty() && !(upcEan && tail.size() == 1)) {
        // Cut when the bound was reached or the row carries a character of the rest (a
        // symbol of fixed length); left out when the row has none of them.
        bool cut = fontText.size() + 1 >= s.linear.profile().bound;
        const std::u16string empty(fn(s, u""));
        std::u16string seen;
        for (std::size_t i = 0; i < tail.size() && !cut; ++i) {
            const char16_t c = tail[i];
            if (seen.find(c) != std::u16string::npos) continue;
            seen += c;
            const char16_t alone[2] = {c, 0};
            cut = empty != fn(s, Escaped(alone).c_str());
        }
        loss |= cut ? kLossCut : kLossDropped;
    }
    if (!(loss & kLossDropped)) {
        // Each distinct character once, those outside printable ASCII (the likely ones) first.
        std::u16string order(carried);
        std::sort(order.begin(), order.end());
        order.erase(std::unique(order.begin(), order.end()), order.end());
        std::stable_partition(order.begin(), order.end(), [](char16_t c) { return c < 32 || c > 126; });
        for (char16_t c : order) {
            if (upcEan && c >= u'0' && c <= u'9') continue;
            std::u16string without;
            for (char16_t x : carried)
                if (x != c) without += x;
            if (same(without)) {
                loss |= kLossDropped;
                break;
            }
        }
    }
    return loss;
}

// Whether `data` comes back whole from the 8-bit text a front-end hands its encoder.
enum class Conversion { None, Thread, System, Utf8 };
bool Survives(Session& s, Conversion conversion, std::u16string_view data) {
    switch (conversion) {
    case Conversion::None:
        return true;
    case Conversion::Utf8:
        for (std::size_t i = 0; i < data.size(); ++i) {
            const char16_t c = data[i];
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < data.size() && data[i + 1] >= 0xDC00 && data[i + 1] <= 0xDFFF)
                ++i;
            else if (c >= 0xD800 && c <= 0xDFFF)
                return false;  // a lone surrogate becomes U+FFFD
        }
        return true;
    case Conversion::Thread:
    case Conversion::System: {
        const CodePage page = conversion == Conversion::Thread ? CodePage::Thread : CodePage::System;
        std::string bytes;
        std::u16string back;
        if (!ToAnsi(s.platform, page, data, bytes) || !FromAnsi(s.platform, page, bytes, back)) return false;
        return back == data;
    }
    }
    return true;
}

// How each front-end prepares the text: whether it decodes escapes, where it cuts, and the
// conversion its encoder gets. Front-ends not listed convert nothing and cut nothing.
struct FrontEndRule {
    EncodeFn fn;
    bool escapes;
    std::size_t cut;  // 0: none
    Conversion conversion;
};
const FrontEndRule kFrontEnds[] = {
    {FrontEndDatabar, true, 13, Conversion::Thread},
    {FrontEndDatabarStacked, true, 13, Conversion::Thread},
    {FrontEndDatabarStackedOmni, true, 13, Conversion::Thread},
    {FrontEndDatabarLimited, true, 13, Conversion::Thread},
    {FrontEndDatabarExpanded, true, 0, Conversion::Thread},
    {FrontEndDatabarExpandedStacked, true, 0, Conversion::Thread},
    {FrontEndMaxicode, true, 138, Conversion::Thread},
    {FrontEndIntelligentMail, false, 31, Conversion::None},
    {FrontEndDataMatrix, true, 0, Conversion::Utf8},
    {FrontEndRoyalMailCMDM, true, 0, Conversion::System},
    {FrontEndAztec, true, 0, Conversion::System},
    {FrontEndPDF417, true, 0, Conversion::System},
    {FrontEndMicroPDF417, false, 0, Conversion::Thread},
    {FrontEndCode16K, true, 0, Conversion::System},
    {FrontEndQRCode, true, 0, Conversion::Utf8},
    {FrontEndMicroQRCode, true, 0, Conversion::Utf8},
    {FrontEndPharmaOne, false, 0, Conversion::Thread},
    {FrontEndPharmaTwo, false, 0, Conversion::Thread},
};

}  // namespace

unsigned FindLoss(Session& s, const SymbologyAction& row, std::u16string_view typed, std::u16string_view fontText) {
    unsigned loss = kNoLoss;
    if (typed.size() > kInputUnits - 1) {
        loss |= kLossCut;  // the encode copy holds no more
        typed = typed.substr(0, kInputUnits - 1);
    }
    const EncodeFn fn = row.pfnEncode[s.options.AddChecksum != 0 ? 1 : 0];
    if (!fn || fontText.empty()) return loss;
    const std::u16string text(typed);

    // The SEMI matrix rows carry what the SEMI M12 encoder makes of the decoded text.
    if (fn == FrontEndDataMatrixSEMI || fn == FrontEndQRCodeSEMI) {
        const std::u16string decoded = linear::DecodeCharRefs(s.linear.profile(), text.c_str());
        const std::u16string semi(linear::EncodeSemiM12(s.linear, decoded.c_str()));
        return loss | LinearLoss(s, &Linear<linear::EncodeSemiM12>, decoded, semi);
    }
    for (const FrontEndRule& rule : kFrontEnds) {
        if (rule.fn != fn) continue;
        std::u16string data = rule.escapes ? linear::DecodeCharRefs(s.linear.profile(), text.c_str()) : text;
        if (rule.cut != 0 && data.size() > rule.cut) {
            loss |= kLossCut;
            data.resize(rule.cut);
        }
        if (!Survives(s, rule.conversion, data)) loss |= kLossReplaced;
        return loss;
    }
    // GS1-128 answers malformed data with a message in place of the font text: only its
    // bound is judged.
    if (fn == &Linear<linear::EncodeGS1128>)
        return fontText.size() + 1 >= s.linear.profile().bound ? loss | kLossCut : loss;
    return loss | LinearLoss(s, fn, text, fontText, row.nSymbologyKind == kKindUpcEan);
}

std::u16string LossMessage(unsigned loss) {
    std::u16string message;
    auto add = [&](std::u16string_view part) {
        if (!message.empty()) message += u' ';
        message += part;
    };
    if (loss & kLossCut) add(u"Data too long: only its beginning is encoded.");
    if (loss & kLossDropped) add(u"Some characters cannot be encoded and are left out.");
    if (loss & kLossReplaced) add(u"Some characters cannot be encoded and are replaced.");
    return message;
}

}  // namespace desktop
