#include "upc_ean.h"

#include <algorithm>

#include "fixed_text.h"

namespace linear {

namespace {

// Digit glyphs of each parity set, for the digits "1" to "9" then "0".
constexpr std::u16string_view kSetA = u"1234567890";
constexpr std::u16string_view kSetALongBars = u"!@#$%^&*()";
constexpr std::u16string_view kSetB = u"QWERTYUIOP";
constexpr std::u16string_view kSetC = u"ASDFGHJKL:";
constexpr std::u16string_view kSetCLongBars = u"asdfghjkl;";
constexpr std::u16string_view kAddOnOdd = u"zxcvbnm,./";
constexpr std::u16string_view kAddOnEven = u"ZXCVBNM<>?";

// EAN-13 parity of digits 2 to 7 by the first digit; UPC-E parity by the check digit.
constexpr std::u16string_view kEan13Parity[10] = {u"AAAAAA", u"AABABB", u"AABBAB", u"AABBBA",
                                                  u"ABAABB", u"ABBAAB", u"ABBBAA", u"ABABAB",
                                                  u"ABABBA", u"ABBABA"};
constexpr std::u16string_view kUpcEParity[10] = {u"BBBAAA", u"BBABAA", u"BBAABA", u"BBAAAB",
                                                 u"BABBAA", u"BAABBA", u"BAAABB", u"BABABA",
                                                 u"BABAAB", u"BAABAB"};
// EAN-5 parity by check value: "1" odd, "0" even.
constexpr std::u16string_view kEan5Parity[10] = {u"00111", u"01011", u"01101", u"01110",
                                                 u"10011", u"11001", u"11100", u"10101",
                                                 u"10110", u"11010"};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
int DigitValue(char16_t c) { return c - u'0'; }

// The glyph of a digit character in a digit map; a space for anything else.
char16_t MapDigit(std::u16string_view map, char16_t c) {
    if (!IsDigit(c)) return u' ';
    return map[c == u'0' ? 9 : DigitValue(c) - 1];
}

// The human-readable digit printed outside the bars.
char16_t HumanReadable(char16_t c) { return IsDigit(c) ? static_cast<char16_t>(0xE0 + DigitValue(c)) : u' '; }

char16_t AddOnDigitGlyph(int value, bool odd) {
    if (value < 0 || value > 9) return 0xFFFF;
    return (odd ? kAddOnOdd : kAddOnEven)[value == 0 ? 9 : value - 1];
}

// The input of a UPC/EAN encode split into its data digits and its add-on text.
using Text = FixedText<64>;

struct Split {
    FixedText<16> digits;   // the first digits of the data
    std::size_t count = 0;  // how many digits the data held
    Text addOn;             // add-on font text, copied out of ResultBuffer
    bool hasBar = false;    // the input held a "|"
    bool isbnX = false;     // an ISBN check character "X" followed the ninth digit
};

// Digits and "|" are kept; the data ends at the first "|" and what follows is the add-on.
// The add-on text is only computed when asked, since it lands in ResultBuffer. With
// `isbnCheck`, an "X" right after the ninth digit is the ISBN check character, not data.
Split SplitInput(Context& ctx, const char16_t* text, bool withAddOn, bool isbnCheck = false) {
    WorkText work;
    DecodeInput(ctx, text, work);
    Split s;
    const std::u16string_view in = work.view();
    std::size_t i = 0;
    for (; i < in.size(); ++i) {
        if (in[i] == u'|') break;
        if (IsDigit(in[i])) {
            s.digits += in[i];
            ++s.count;
        } else if (isbnCheck && s.count == 9 && !s.isbnX && (in[i] == u'X' || in[i] == u'x')) {
            s.isbnX = true;
        } else {
            ctx.lose(kLossDropped);
        }
    }
    if (i < in.size()) {
        s.hasBar = true;
        if (withAddOn) {
            work.text[i] = 0;  // the "|" no longer needed: the add-on text starts behind it
            s.addOn = EncodeAddOn(ctx, work.text + i + 1);
        }
    }
    return s;
}

template <std::size_t N>
void FitTo(FixedText<N>& digits, std::size_t count) { digits.resize(count, u'0'); }

// The ISBN-10 check character of nine digits: "0" to "9" or "X".
char16_t IsbnCheck(std::u16string_view nine) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < nine.size(); ++i) sum += static_cast<unsigned>(10 - i) * static_cast<unsigned>(nine[i] - u'0');
    const unsigned r = (11 - sum % 11) % 11;
    return r == 10 ? u'X' : static_cast<char16_t>(u'0' + r);
}

// Reports what a symbol of `length` data digits and a check digit makes of the typed digits:
// digits past the check digit's place are cut, and a typed check digit that is not the one
// `check` gives is replaced.
template <typename Check>
void ReportFixedLength(const Context& ctx, const Split& s, std::size_t length, Check check) {
    if (s.count > length + 1) ctx.lose(kLossCut);
    if (s.count > length && s.digits[length] != check(s.digits.view().substr(0, length)))
        ctx.lose(kLossReplaced);
}

// One space and the add-on after the main symbol, when there is an add-on.
void AppendAddOn(Text& out, const Text& addOn) {
    if (!addOn.empty()) {
        out += u' ';
        out += addOn;
    }
}

// The EAN-13 text of twelve digits and the check digit.
Text Ean13Text(std::u16string_view d) {
    const char16_t check = Mod10Check(d);
    const std::u16string_view parity = kEan13Parity[DigitValue(d[0])];
    Text out;
    out += HumanReadable(d[0]);
    out += u'[';
    for (int i = 1; i <= 6; ++i) out += MapDigit(parity[i - 1] == u'A' ? kSetA : kSetB, d[i]);
    out += u'|';
    for (int i = 7; i <= 11; ++i) out += MapDigit(kSetC, d[i]);
    out += MapDigit(kSetC, check);
    out += u']';
    return out;
}

// The six UPC-E digits of a number typed in its full eight-digit form: number system 0, six
// digits and the check digit of their expansion. Empty when the digits are not of that form.
FixedText<6> UpcEFromFullForm(const Split& s) {
    if (s.count != 8 || s.digits[0] != u'0') return {};
    char16_t expanded[12];
    std::copy_n(s.digits.c_str(), 7, expanded);
    expanded[7] = 0;
    ExpandUpcE(expanded);
    if (Mod10Check(std::u16string_view(expanded, 11)) != s.digits[7]) return {};
    return s.digits.view().substr(1, 6);
}

const char16_t* PublishText(Context& ctx, char16_t* buffer, std::u16string_view text) {
    // The symbols are short; the bound only matters for a desktop text near 255 characters.
    return Publish(ctx, buffer, text.substr(0, std::min(text.size(), ctx.profile().bound - 1)));
}

FixedText<16> Ean2(std::u16string_view digits) {
    const int v = DigitValue(digits[0]) * 10 + DigitValue(digits[1]);
    const bool odd1 = v % 4 < 2;
    const bool odd2 = v % 2 == 0;
    FixedText<16> out(u"{");
    out += AddOnDigitGlyph(DigitValue(digits[0]), odd1);
    out += u'\\';
    out += AddOnDigitGlyph(DigitValue(digits[1]), odd2);
    return out;
}

FixedText<16> Ean5(std::u16string_view digits) {
    int d[5];
    for (int i = 0; i < 5; ++i) d[i] = DigitValue(digits[i]);
    const int check = (3 * (d[0] + d[2] + d[4]) + 9 * (d[1] + d[3])) % 10;
    FixedText<16> out(u"{");
    for (int i = 0; i < 5; ++i) {
        if (i) out += u'\\';
        out += AddOnDigitGlyph(d[i], kEan5Parity[check][i] == u'1');
    }
    return out;
}

}  // namespace

std::u16string EncodeEan2AddOn(std::u16string_view digits) { return std::u16string(Ean2(digits).view()); }
std::u16string EncodeEan5AddOn(std::u16string_view digits) { return std::u16string(Ean5(digits).view()); }

const char16_t* EncodeAddOn(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    FixedText<8> digits;
    std::size_t count = 0;
    for (char16_t c : work.view()) {
        if (IsDigit(c)) {
            digits += c;
            ++count;
        } else {
            ctx.lose(kLossDropped);
        }
    }
    if (count > 5) ctx.lose(kLossCut);
    FixedText<16> out;
    if (count == 1 || count == 2) {
        FitTo(digits, 2);
        out = Ean2(digits);
    } else if (count > 0) {
        FitTo(digits, 5);
        out = Ean5(digits);
    }
    return Publish(ctx, ctx.resultBuffer(), out);
}

bool ExpandUpcE(char16_t* text) {
    if (TextLength(text) != 7 || text[0] != u'0') return false;
    const char16_t* x = text + 1;  // X1 to X6 are x[0] to x[5]
    FixedText<12> e(u"0");
    switch (x[5]) {
        case u'0': case u'1': case u'2':
            e += std::u16string_view{x, 2};
            e += x[5];
            e += u"0000";
            e += std::u16string_view{x + 2, 3};
            break;
        case u'3':
            e += std::u16string_view{x, 3};
            e += u"00000";
            e += std::u16string_view{x + 3, 2};
            break;
        case u'4':
            e += std::u16string_view{x, 4};
            e += u"00000";
            e += x[4];
            break;
        default:
            e += std::u16string_view{x, 5};
            e += u"0000";
            e += x[5];
            break;
    }
    std::copy_n(e.c_str(), e.size() + 1, text);
    return true;
}

const char16_t* EncodeEAN13(Context& ctx, const char16_t* text) {
    Split s = SplitInput(ctx, text, true);
    ReportFixedLength(ctx, s, 12, Mod10Check);
    FitTo(s.digits, 12);
    Text out = Ean13Text(s.digits);
    AppendAddOn(out, s.addOn);
    return PublishText(ctx, ctx.ean13ResultBuffer(), out);
}

const char16_t* EncodeEAN8(Context& ctx, const char16_t* text) {
    Split s = SplitInput(ctx, text, true);
    ReportFixedLength(ctx, s, 7, Mod10Check);
    FitTo(s.digits, 7);
    const auto& d = s.digits;
    Text out(u"[");
    for (int i = 0; i < 4; ++i) out += MapDigit(kSetA, d[i]);
    out += u'|';
    for (int i = 4; i < 7; ++i) out += MapDigit(kSetC, d[i]);
    out += MapDigit(kSetC, Mod10Check(d));
    out += u']';
    AppendAddOn(out, s.addOn);
    return PublishText(ctx, ctx.resultBuffer(), out);
}

const char16_t* EncodeUPCA(Context& ctx, const char16_t* text) {
    Split s = SplitInput(ctx, text, true);
    ReportFixedLength(ctx, s, 11, Mod10Check);
    FitTo(s.digits, 11);
    const auto& d = s.digits;
    const char16_t check = Mod10Check(d);
    Text out;
    out += HumanReadable(d[0]);
    out += u'[';
    out += MapDigit(kSetALongBars, d[0]);
    for (int i = 1; i < 6; ++i) out += MapDigit(kSetA, d[i]);
    out += u'|';
    for (int i = 6; i < 11; ++i) out += MapDigit(kSetC, d[i]);
    out += MapDigit(kSetCLongBars, check);
    out += u']';
    out += HumanReadable(check);
    AppendAddOn(out, s.addOn);
    return PublishText(ctx, ctx.resultBuffer(), out);
}

const char16_t* EncodeUPCE(Context& ctx, const char16_t* text) {
    Split s = SplitInput(ctx, text, true);
    FixedText<6> six = UpcEFromFullForm(s);
    if (six.empty()) {
        if (s.count > 6) ctx.lose(kLossCut);
        six = s.digits.view().substr(0, std::min<std::size_t>(6, s.digits.size()));
        FitTo(six, 6);
    }
    char16_t expanded[12] = {u'0'};
    std::copy_n(six.c_str(), 6, expanded + 1);
    expanded[7] = 0;
    ExpandUpcE(expanded);
    const char16_t check = Mod10Check(std::u16string_view(expanded, 11));
    const std::u16string_view parity = kUpcEParity[DigitValue(check)];
    Text out;
    out += HumanReadable(u'0');
    out += u'[';
    for (int i = 0; i < 6; ++i) out += MapDigit(parity[i] == u'A' ? kSetA : kSetB, six[i]);
    out += u'\'';
    out += HumanReadable(check);
    AppendAddOn(out, s.addOn);
    return PublishText(ctx, ctx.resultBuffer(), out);
}

const char16_t* EncodeBookland(Context& ctx, const char16_t* text) {
    Split s = SplitInput(ctx, text, false, true);
    const std::u16string_view d = s.digits;
    FixedText<12> ean;
    if (s.count == 13 && (d.substr(0, 3) == u"978" || d.substr(0, 3) == u"979")) {
        // An ISBN-13 is already the EAN-13 number: its first twelve digits.
        ReportFixedLength(ctx, s, 12, Mod10Check);
        ean = d.substr(0, 12);
    } else {
        // Nine digits of an ISBN and its check character, which the EAN-13 check replaces.
        if (!s.isbnX) ReportFixedLength(ctx, s, 9, IsbnCheck);
        else if (s.count > 9) ctx.lose(kLossCut);  // digits after the "X"
        if (s.isbnX && IsbnCheck(d.substr(0, 9)) != u'X') ctx.lose(kLossReplaced);
        FixedText<10> isbn = d.substr(0, std::min<std::size_t>(10, d.size()));
        FitTo(isbn, 10);
        ean = u"978";
        ean += isbn.view().substr(0, 9);
    }
    Text out = std::u16string_view(EncodeEAN13(ctx, ean.c_str()));
    if (s.hasBar) {
        // The add-on is the text after the first "|" of the decoded input.
        WorkText work;
        DecodeInput(ctx, text, work);
        const std::size_t bar = work.view().find(u'|');
        out += u' ';
        out += std::u16string_view(EncodeAddOn(ctx, work.text + bar + 1));
    }
    return PublishText(ctx, ctx.resultBuffer(), out);
}

}  // namespace linear
