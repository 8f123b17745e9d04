#include "encoder_state.h"

#include <algorithm>
#include <utility>

namespace desktop {

std::u16string EncoderState::Encode(const std::u16string& text, std::size_t capacity) {
    if (!pCurrentAction || capacity == 0) return {};
    const std::u16string_view font = EncodeSelectedText(session, *pCurrentAction, text);
    return std::u16string(font.substr(0, std::min(font.size(), capacity - 1)));
}

void EncoderState::EncodeData(std::u16string text) {
    data = std::move(text);
    output = Encode(data, kOutputUnits);
    loss = pCurrentAction ? session.linear.loss() : linear::kLossNone;
}

}  // namespace desktop
