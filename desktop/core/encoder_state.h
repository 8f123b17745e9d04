// What the main window and its panes share: the current row of the symbology table, the text
// of the data field, the option settings and the font text that is painted, copied and
// printed. The windows keep no copy of their own; they tell each other of a change through
// EncoderHost, which the main window answers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame.h"
#include "platform.h"
#include "session.h"
#include "settings.h"
#include "symbology_table.h"

namespace desktop {

// Capacity of the main window's output buffer, in UTF-16 units with the terminator.
inline constexpr std::size_t kOutputUnits = 8196;

struct EncoderState {
    explicit EncoderState(Platform& platform) : session{linear, options, platform} {}
    EncoderState(const EncoderState&) = delete;
    EncoderState& operator=(const EncoderState&) = delete;

    linear::Context linear{linear::kDesktop};
    OptionSettings options;
    Session session;
    // The Options pane's current row (the pane owns the table); null until a row is chosen.
    const SymbologyAction* pCurrentAction = nullptr;
    std::u16string data;    // the data field's text, as last encoded
    std::u16string output;  // its font text, at most kOutputUnits - 1 units
    unsigned loss = linear::kLossNone;  // what `output` leaves out of `data` (loss bits)

    // The current row's kind; kNoKind without a row.
    std::uint32_t Kind() const { return pCurrentAction ? pCurrentAction->nSymbologyKind : kNoKind; }

    // Encodes `text` with the current row (EncodeSelected) and cuts the font text to a buffer
    // of `capacity` units with the terminator; "" without a row.
    std::u16string Encode(const std::u16string& text, std::size_t capacity);

    // Takes `text` as the data field's and encodes it into `output`, its loss into `loss`.
    void EncodeData(std::u16string text);
};

// What a pane asks of the main window.
class EncoderHost {
public:
    virtual ~EncoderHost() = default;
    // The current row changed: the keyboard shows the keys of its kind.
    virtual void OnRowChanged() = 0;
    // Puts `text` into the data field without encoding it.
    virtual void SetDataField(std::u16string_view text) = 0;
    // Encodes the data field again and repaints with erasing.
    virtual void OnChangeData() = 0;
    // Puts `text` into the data field, encodes it and repaints without erasing.
    virtual void UpdatePreview(std::u16string_view text) = 0;
    // Repaints the main window with erasing.
    virtual void Repaint() = 0;
};

}  // namespace desktop
