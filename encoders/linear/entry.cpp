#include "entry.h"

namespace {
const char16_t* In(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
const wchar_t* Out(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
}  // namespace

#define LINEAR_ENCODER(name)                                       \
    const wchar_t* Encode##name(const wchar_t* text) {             \
        return Out(linear::Encode##name(linear::LinearContext(), In(text))); \
    }
#include "encoders.inc"
#undef LINEAR_ENCODER

const wchar_t* DecodeCharRefsW(const wchar_t* text) {
    return Out(linear::DecodeCharRefsToResult(linear::LinearContext(), In(text)));
}
