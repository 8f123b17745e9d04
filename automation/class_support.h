// What the encode classes share: returning whole texts, pieces and piece counts, property
// reads, and the flag setters.
#pragma once

#include "component.h"

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

}  // namespace tarnvik
