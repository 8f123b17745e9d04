#include "cmdm.h"

namespace matrix {

char16_t cmdmCheckChar(const char16_t* field, std::size_t length) {
    static const char16_t kAlphabet[] = u"0123456789ABCDEF";
    constexpr int kFieldLength = 20;
    if (!field || length < kFieldLength) return 0;
    int sum = 0;
    for (int i = 0; i < kFieldLength; ++i) {
        const char16_t c = field[i];
        int v;
        if (c >= u'0' && c <= u'9') v = c - u'0';
        else if (c >= u'A' && c <= u'F') v = c - u'A' + 10;
        else return 0;
        // Every second value from the last one on is doubled, folded back into a hexadecimal
        // digit; 5, 6, 7, 13, 14 and 15 stay undoubled.
        if ((kFieldLength - 1 - i) % 2 == 0) {
            const int d = 2 * v;
            if (d <= 9) v = d;
            else if (d >= 16 && d <= 25) v = d - 15;
        }
        sum += v;
    }
    return kAlphabet[(16 - sum % 16) % 16];
}

}  // namespace matrix
