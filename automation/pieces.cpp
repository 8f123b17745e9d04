#include "pieces.h"

namespace tarnvik {

std::wstring Piece(const std::wstring& text, long nIndex) {
    if (nIndex == 0) return text;
    const long long piece = nIndex < 0 ? 1 : nIndex;
    // In 64 bits: the start of a piece near the long range's end does not overflow.
    const unsigned long long start = static_cast<unsigned long long>(piece - 1) * kPieceLength;
    if (start >= text.size()) return std::wstring();
    return text.substr(static_cast<std::size_t>(start), kPieceLength);
}

long PieceCount(const std::wstring& text) {
    return static_cast<long>(text.size() / kPieceLength + 1);
}

}  // namespace tarnvik
