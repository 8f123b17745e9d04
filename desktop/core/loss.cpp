#include "loss.h"

#include <string_view>

namespace desktop {

std::u16string LossMessage(unsigned loss) {
    std::u16string message;
    auto add = [&](std::u16string_view part) {
        if (!message.empty()) message += u' ';
        message += part;
    };
    if (loss & kLossCut) add(u"Data too long: only its beginning is encoded.");
    if (loss & kLossDropped) add(u"Some characters cannot be encoded and are left out.");
    if (loss & kLossReplaced) add(u"Some characters cannot be encoded and are replaced.");
    if (loss & kLossNul) add(u"The NUL character cannot be encoded and is left out.");
    if (loss & kLossNotDigit) add(u"Characters other than digits are encoded as other digits.");
    if (loss & kLossFilled) add(u"Data too short: zeros are encoded in its place.");
    return message;
}

}  // namespace desktop
