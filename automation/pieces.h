// Results cut into pieces of 250 characters, for hosts whose strings hold no more.
#pragma once

#include <string>

namespace tarnvik {

inline constexpr std::size_t kPieceLength = 250;

// Piece nIndex of the text: 0 gives the whole text, a negative index the first piece; a
// piece that starts at or beyond the end is empty.
std::wstring Piece(const std::wstring& text, long nIndex);

// The number of pieces: length / 250 + 1 (so a text of exactly 250 characters counts 2).
long PieceCount(const std::wstring& text);

}  // namespace tarnvik
