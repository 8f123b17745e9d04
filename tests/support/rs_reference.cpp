#include "support/rs_reference.h"

#include <cstddef>

namespace testing_support {

int GfMultiply(int a, int b, int poly) {
    int top = 1;
    while ((top << 1) <= poly) top <<= 1;
    int r = 0;
    for (; b; b >>= 1) {
        if (b & 1) r ^= a;
        a <<= 1;
        if (a & top) a ^= poly;
    }
    return r;
}

std::vector<int> RsCheckSymbols(const std::vector<int>& data, int n, int poly, int first) {
    int root = 1;
    for (int i = 0; i < first; ++i) root = GfMultiply(root, 2, poly);
    std::vector<int> g{1};
    for (int i = 0; i < n; ++i, root = GfMultiply(root, 2, poly)) {
        std::vector<int> next(g.size() + 1, 0);
        for (std::size_t j = 0; j < g.size(); ++j) {
            next[j] ^= g[j];
            next[j + 1] ^= GfMultiply(g[j], root, poly);
        }
        g = next;
    }
    std::vector<int> rem(static_cast<std::size_t>(n), 0);
    for (int d : data) {
        const int f = d ^ rem[0];
        rem.erase(rem.begin());
        rem.push_back(0);
        for (std::size_t j = 0; j < rem.size(); ++j) rem[j] ^= GfMultiply(g[j + 1], f, poly);
    }
    return rem;
}

}  // namespace testing_support
