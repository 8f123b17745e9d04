// What the encode classes share: returning whole texts, pieces and piece counts, property
// reads, and the flag setters.
#pragma once

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "component.h"
#include "record.h"

namespace tarnvik {

inline HRESULT Whole(const std::wstring& text, BSTR* out) { return ReturnText(text, out); }
inline HRESULT PieceOf(const std::wstring& text, long index, BSTR* out) {
    return ReturnText(Piece(text, index), out);
}
inline HRESULT Count(const std::wstring& text, long* out) {
    if (!out) return E_POINTER;
    *out = PieceCount(text);
    return S_OK;
}
template <class T>
inline HRESULT Get(T value, T* out) {
    if (!out) return E_POINTER;
    *out = value;
    return S_OK;
}
// The VARIANT_BOOL flag setters: any true value sets the flag. Dispatch callers' True
// arrives as VARIANT_TRUE (-1), C++ callers may pass 1.
inline void SetBoolFlag(long& flag, VARIANT_BOOL value) { flag = value != 0 ? 1 : 0; }

// Runs a method's work; memory running out ends the call with E_OUTOFMEMORY rather than an
// exception through the interface.
template <class F>
HRESULT Guard(F work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// A caller's option moved by `delta` for the encoder's scale, held to the int range: no
// argument overflows, and one out of range stays out of range for the encoder to refuse.
inline int Shifted(long value, int delta) {
    return static_cast<int>(
        std::clamp<long long>(static_cast<long long>(value) + delta, INT_MIN, INT_MAX));
}

// A zero-filled symbol record, on the heap (it is large).
inline std::unique_ptr<matrix::SymbolRecord> NewRecord() {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    return rec;
}

// An 8-bit text of the record (font text or message, NUL-terminated within `size`), widened.
inline std::wstring Widen(const char* text, std::size_t size) {
    std::wstring out;
    for (std::size_t i = 0; i < size && text[i]; ++i)
        out += static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
    return out;
}

// What a record encode gives its caller: the message when the encoder returned more than 0
// (a failure or a warning), else the font text.
inline std::wstring RecordResult(const matrix::SymbolRecord& rec, int result) {
    return result > 0 ? Widen(rec.errorText, sizeof rec.errorText)
                      : Widen(rec.fontText, sizeof rec.fontText);
}

}  // namespace tarnvik
