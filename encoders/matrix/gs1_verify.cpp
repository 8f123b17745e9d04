#include "gs1_verify.h"

#include <cstring>
#include <vector>

namespace matrix {

namespace {

struct Ai {
    std::size_t position;  // just behind its "("
    int number;
    int digits;            // digits written between the brackets
    std::size_t dataLength;
};

bool In(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Fixed data lengths of the AIs that have one; 0 for the others.
int FixedLength(int ai) {
    if (ai == 0) return 18;
    if (In(ai, 1, 3)) return 14;
    if (ai == 4) return 16;
    if (In(ai, 11, 19)) return 6;
    if (ai == 20) return 2;
    if (In(ai, 3100, 3699)) return 6;
    if (In(ai, 410, 415)) return 13;
    return 0;
}

bool IsInvalidAi(int ai) {
    static const int ranges[][2] = {
        {23, 25},     {31, 36},     {39, 42},     {70, 70},     {80, 81},     {100, 179},
        {200, 229},   {300, 379},   {700, 703},   {800, 810},   {900, 999},   {1000, 1799},
        {2000, 2299}, {3000, 3099}, {3700, 3799}, {4100, 4199}, {9000, 9999}};
    for (const auto& r : ranges)
        if (In(ai, r[0], r[1])) return true;
    return false;
}

// An AI is of fixed length by the number its first two digits form.
bool IsFixedLengthAi(const std::uint8_t* firstDigits) {
    const int two = (firstDigits[0] - '0') * 10 + (firstDigits[1] - '0');
    return In(two, 0, 4) || In(two, 11, 20) || two == 23 || In(two, 31, 36) || two == 41;
}

int FailWithAi(SymbolRecord& rec, const char* message, int ai) {
    char text[100];
    std::strcpy(text, message);
    GS1AiToText(text + std::strlen(text), ai);
    return Fail(rec, kInvalidData, text);
}

// The brackets: matched, not nested, each pair around an AI of two to four digits.
int CheckBrackets(SymbolRecord& rec, const std::uint8_t* data, std::size_t length) {
    int depth = 0, maxDepth = 0, aiLength = 0, minAiLength = 5, maxAiLength = 0;
    bool nonNumeric = false, strayClose = false;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t c = data[i];
        if (c == '(') {
            ++depth;
            if (depth > maxDepth) maxDepth = depth;
            aiLength = 0;
            continue;
        }
        if (c == ')') {
            // A ")" with no "(" open is as unmatched as an unclosed "(": the text around it
            // would otherwise lose the bracket silently.
            if (depth == 0) strayClose = true;
            else {
                if (aiLength < minAiLength) minAiLength = aiLength;
                --depth;
            }
            continue;
        }
        if (depth > 0) {
            ++aiLength;
            if (aiLength > maxAiLength) maxAiLength = aiLength;
            if (c < '0' || c > '9') nonNumeric = true;
        }
    }
    if (depth != 0 || strayClose)
        return Fail(rec, kInvalidData, "Malformed AI in input data (brackets don't match)");
    if (maxDepth > 1) return Fail(rec, kInvalidData, "Found nested brackets in input data");
    if (maxAiLength > 4) return Fail(rec, kInvalidData, "Invalid AI in input data (AI too long)");
    if (minAiLength < 2) return Fail(rec, kInvalidData, "Invalid AI in input data (AI too short)");
    if (nonNumeric)
        return Fail(rec, kInvalidData, "Invalid AI in input data (non-numeric characters in AI)");
    return kSuccess;
}

// The AIs in order. The list grows with the data, so any number of AIs is checked.
std::vector<Ai> CollectAis(const std::uint8_t* data, std::size_t length) {
    std::vector<Ai> ais;
    for (std::size_t i = 0; i + 1 < length; ++i) {
        if (data[i] != '(') continue;
        Ai ai{i + 1, 0, 0, 0};
        std::size_t k = i + 1;
        for (; k < length && data[k] != ')'; ++k) {
            ai.number = ai.number * 10 + (data[k] - '0');
            ++ai.digits;
        }
        std::size_t end = k + 1;
        while (end < length && data[end] != '(') ++end;
        ai.dataLength = end - (k + 1);
        ais.push_back(ai);
        i = k;
    }
    return ais;
}

// The AI rules; the message names the last failing AI.
int CheckAis(SymbolRecord& rec, const std::vector<Ai>& ais) {
    int state = 0, failedAi = 0;
    for (const Ai& ai : ais) {
        int local = 0;
        const int fixed = FixedLength(ai.number);
        if (fixed && ai.dataLength != static_cast<std::size_t>(fixed)) local = 1;
        if (IsInvalidAi(ai.number)) local = 2;
        if (local) {
            state = local + 4;
            failedAi = ai.number;
        }
    }
    if (state == 5) return FailWithAi(rec, "Invalid data length for AI ", failedAi);
    if (state == 6) return FailWithAi(rec, "Invalid AI value ", failedAi);
    return kSuccess;
}

// The reduced string: the data without brackets, FNC1 after each variable-length field that
// another AI follows.
void WriteReduced(const std::uint8_t* data, std::size_t length, const std::vector<Ai>& ais,
                  std::uint8_t* reduced) {
    std::size_t out = 0, next = 0;
    bool previousVariable = false;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t c = data[i];
        if (c == '(') {
            if (next > 0 && previousVariable) reduced[out++] = kFnc1Mark;
            previousVariable = !IsFixedLengthAi(data + ais[next].position);
            ++next;
            continue;
        }
        if (c == ')') continue;
        reduced[out++] = c;
    }
    reduced[out] = 0;
}

}  // namespace

void GS1AiToText(char* buffer, int ai) {
    const int digits = ai < 100 ? 2 : ai < 1000 ? 3 : 4;
    *buffer++ = '(';
    for (int i = digits - 1; i >= 0; --i) {
        int v = ai;
        for (int k = 0; k < i; ++k) v /= 10;
        *buffer++ = DigitToChar(v % 10);
    }
    *buffer++ = ')';
    *buffer = 0;
}

int VerifyGS1Data(SymbolRecord& rec, const std::uint8_t* data, std::size_t length,
                  std::uint8_t* reduced) {
    if (const int r = CheckBrackets(rec, data, length)) return r;
    const std::vector<Ai> ais = CollectAis(data, length);
    if (const int r = CheckAis(rec, ais)) return r;
    WriteReduced(data, length, ais, reduced);
    return kSuccess;
}

}  // namespace matrix
