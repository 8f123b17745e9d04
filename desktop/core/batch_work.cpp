#include "batch_work.h"

#include "batch.h"
#include "text.h"

#include <algorithm>

namespace desktop {

WorkPacer::WorkPacer(Clock clock) : clock_(std::move(clock)), start_(clock_()), last_(start_) {}

bool WorkPacer::SliceOver() {
    const std::uint64_t now = clock_();
    if (now - last_ < kSliceMs) return false;
    last_ = now;
    return true;
}

namespace {

// Separators that end at or before `end`, counted from `from`, which is then moved past
// what has been looked at: no text is looked at twice, however the pieces are cut.
std::size_t CountSeparators(std::u16string_view text, std::size_t& from, std::size_t end) {
    const std::u16string_view head = text.substr(0, end);
    std::size_t n = 0;
    for (std::size_t at; (at = head.find(RecordSeparator, from)) != std::u16string_view::npos; ++n)
        from = at + RecordSeparator.size();
    // A separator that ends beyond `end` starts at most three units before it.
    const std::size_t straddle = RecordSeparator.size() - 1;
    if (end >= straddle && from < end - straddle) from = end - straddle;
    return n;
}

}  // namespace

BatchPieces::BatchPieces(std::u16string_view text, std::size_t pieceLines, std::size_t pieceUnits,
                         std::size_t growth)
    : text_(text), pieceLines_(pieceLines == 0 ? 1 : pieceLines), pieceUnits_(pieceUnits == 0 ? 1 : pieceUnits),
      growth_(growth) {
    std::size_t from = 0;
    records_ = CountSeparators(text_, from, text_.size());
}

std::u16string_view BatchPieces::Next() {
    const std::size_t maxLines = growth_ ? std::max(pieceLines_, linesDone_ / growth_) : pieceLines_;
    const std::size_t maxUnits = growth_ ? std::max(pieceUnits_, at_ / growth_) : pieceUnits_;
    const std::size_t start = at_;
    std::size_t end = start;     // after the last line feed taken
    std::size_t lines = 0;
    while (end < text_.size() && lines < maxLines) {
        const std::size_t lf = text_.find(u'\n', end);
        const std::size_t after = lf == std::u16string_view::npos ? text_.size() : lf + 1;
        if (after - start > maxUnits && end > start) break;  // a whole line beyond the bound
        end = after;
        if (lf != std::u16string_view::npos) ++lines;
        if (after - start >= maxUnits) break;
    }
    at_ = end;
    linesDone_ += lines;
    recordsDone_ += CountSeparators(text_, counted_, at_);
    return text_.substr(start, end - start);
}

std::u16string WorkProgressText(std::u16string_view work, std::uint64_t done, std::uint64_t total,
                                std::u16string_view unit) {
    std::u16string text(work);
    text += u": ";
    text += Decimal(done, true);
    text += u" of ";
    text += Decimal(total, true);
    text += u' ';
    text += unit;
    return text;
}

int WorkPermille(std::uint64_t done, std::uint64_t total) {
    if (total == 0 || done >= total) return 1000;
    const double permille = static_cast<double>(done) * 1000.0 / static_cast<double>(total);
    return permille >= 999.0 ? 999 : static_cast<int>(permille);
}

}  // namespace desktop
