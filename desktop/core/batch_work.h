// Long batch work in the program's one thread: the import and the export of a large batch
// run a step at a time, and between steps the windows are let run, the progress is shown
// and the user may cancel. These are the portable parts: when to let the windows run, the
// batch text cut into pieces for the batch field, and the progress line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace desktop {

// Paces a piece of work from a monotonic clock in milliseconds: after each step the work
// asks whether a slice has passed (then it lets the windows run) and whether the work has
// lasted long enough for its progress to be shown.
class WorkPacer {
public:
    using Clock = std::function<std::uint64_t()>;
    static constexpr std::uint64_t kSliceMs = 50;
    static constexpr std::uint64_t kShowAfterMs = 1000;

    explicit WorkPacer(Clock clock);
    // True when kSliceMs have passed since the start or since it last said so.
    bool SliceOver();
    // True once kShowAfterMs have passed since the start (as of the last SliceOver).
    bool ShowProgress() const { return last_ - start_ >= kShowAfterMs; }

private:
    Clock clock_;
    std::uint64_t start_;
    std::uint64_t last_;
};

// The batch text handed to the batch field a piece at a time. A piece ends after a line
// feed (so no CR LF pair and no surrogate pair is cut) and holds at most as many line feeds
// and units as its bounds allow, unless its first line alone is longer: a line is never cut,
// as a field takes a line in one piece in time linear in its length. The last piece ends
// where the text ends. The bounds grow with the text handed out, to a `growth`th of it:
// a field may take a time proportional to all it holds for every piece added (Wine's edit
// control does), and pieces that grow so keep the whole fill linear in the text. Records are
// counted as the pieces go, for the progress.
class BatchPieces {
public:
    static constexpr std::size_t kPieceLines = 1000;
    static constexpr std::size_t kPieceUnits = 32768;
    static constexpr std::size_t kGrowth = 200;

    // `growth` 0: the bounds stay as given.
    explicit BatchPieces(std::u16string_view text, std::size_t pieceLines = kPieceLines,
                         std::size_t pieceUnits = kPieceUnits, std::size_t growth = kGrowth);

    bool Done() const { return at_ == text_.size(); }
    // The next piece; empty once done.
    std::u16string_view Next();
    // Units handed out so far (where the next piece goes in the field).
    std::size_t UnitsDone() const { return at_; }
    // Records (each ended by its separator) wholly within the pieces handed out, and in all.
    std::size_t RecordsDone() const { return recordsDone_; }
    std::size_t Records() const { return records_; }

private:
    std::u16string_view text_;
    std::size_t pieceLines_;
    std::size_t pieceUnits_;
    std::size_t growth_;
    std::size_t at_ = 0;
    std::size_t linesDone_ = 0;  // line feeds handed out
    std::size_t counted_ = 0;  // records are counted up to here
    std::size_t records_ = 0;
    std::size_t recordsDone_ = 0;
};

// The progress window's line: the work, then how much of it is done, "Exporting: 1,234 of
// 3,084,048 records".
std::u16string WorkProgressText(std::u16string_view work, std::uint64_t done, std::uint64_t total,
                                std::u16string_view unit);

// Done in thousandths of the total (1000 when the total is 0), for the progress bar.
int WorkPermille(std::uint64_t done, std::uint64_t total);

}  // namespace desktop
