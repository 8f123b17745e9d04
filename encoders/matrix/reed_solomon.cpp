#include "reed_solomon.h"

#include <vector>

#include "workspace.h"

namespace matrix {

namespace {

using RsState = ReedSolomonTables;

RsState& State() { return SharedWorkspace().reedSolomon; }

int Multiply(const RsState& s, int a, int b) {
    if (a == 0 || b == 0) return 0;
    return s.antilog[(s.log[a] + s.log[b]) % s.q];
}

template <typename T>
void Encode(std::size_t length, const T* data, T* result) {
    const RsState& s = State();
    const int n = s.n;
    for (int k = 0; k < n; ++k) result[k] = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const int m = static_cast<int>(data[i]) ^ static_cast<int>(result[n - 1]);
        for (int k = n - 1; k >= 1; --k)
            result[k] = static_cast<T>(static_cast<int>(result[k - 1]) ^ Multiply(s, m, s.generator[k]));
        result[0] = static_cast<T>(Multiply(s, m, s.generator[0]));
    }
}

}  // namespace

void RsInitField(int polynomial) {
    RsState& s = State();
    int b = 1, m = 0;
    while (b <= polynomial) {
        b <<= 1;
        ++m;
    }
    b >>= 1;
    --m;
    s.q = (1 << m) - 1;
    s.log.assign(static_cast<std::size_t>(1) << m, 0);
    s.antilog.assign(static_cast<std::size_t>(s.q), 0);
    int p = 1;
    for (int v = 0; v < s.q; ++v) {
        s.antilog[v] = p;
        s.log[p] = v;
        p <<= 1;
        if (p & b) p ^= polynomial;
    }
}

void RsInitCode(int n, int index) {
    RsState& s = State();
    s.n = n;
    s.generator.assign(static_cast<std::size_t>(n) + 1, 0);
    s.generator[0] = 1;
    for (int i = 1; i <= n; ++i) {
        s.generator[i] = 1;
        for (int k = i - 1; k >= 1; --k) {
            if (s.generator[k] != 0) s.generator[k] = s.antilog[(s.log[s.generator[k]] + index) % s.q];
            s.generator[k] ^= s.generator[k - 1];
        }
        s.generator[0] = s.antilog[(s.log[s.generator[0]] + index) % s.q];
        ++index;
    }
}

void RsEncode(std::size_t length, const std::uint8_t* data, std::uint8_t* result) {
    Encode(length, data, result);
}

void RsEncodeLong(std::size_t length, const std::uint32_t* data, std::uint32_t* result) {
    Encode(length, data, result);
}

void RsFree() {
    RsState& s = State();
    s.log.clear();
    s.log.shrink_to_fit();
    s.antilog.clear();
    s.antilog.shrink_to_fit();
    s.generator.clear();
    s.generator.shrink_to_fit();
    s.n = 0;
}

}  // namespace matrix
