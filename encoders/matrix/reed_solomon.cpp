#include "reed_solomon.h"

#include <vector>

#include "workspace.h"

namespace matrix {

namespace {

ReedSolomonTables& State() { return SharedWorkspace().reedSolomon; }

int ZeroLog(int q) { return 2 * q - 1; }

void BuildField(RsField& f, int polynomial) {
    f.polynomial = polynomial;
    int b = 1, m = 0;
    while (b <= polynomial) {
        b <<= 1;
        ++m;
    }
    b >>= 1;
    --m;
    const int q = (1 << m) - 1;
    f.q = q;
    f.log.assign(static_cast<std::size_t>(q) + 1, 0);
    f.antilog.assign(static_cast<std::size_t>(3 * q - 1), 0);
    f.log[0] = static_cast<std::uint16_t>(ZeroLog(q));
    int p = 1;
    for (int v = 0; v < q; ++v) {
        f.antilog[static_cast<std::size_t>(v)] = static_cast<std::uint16_t>(p);
        f.antilog[static_cast<std::size_t>(v + q)] = static_cast<std::uint16_t>(p);
        f.log[static_cast<std::size_t>(p)] = static_cast<std::uint16_t>(v);
        p <<= 1;
        if (p & b) p ^= polynomial;
    }
}

// The monic product of (x + alpha^j) for j = index .. index + n - 1.
void BuildCode(RsCode& code, const RsField& f, int n, int index) {
    std::vector<int> g(static_cast<std::size_t>(n) + 1, 0);
    auto times = [&](int a, int logB) {
        return a == 0 ? 0 : f.antilog[static_cast<std::size_t>(f.log[static_cast<std::size_t>(a)] + logB)];
    };
    g[0] = 1;
    for (int i = 1; i <= n; ++i, ++index) {
        const int root = index % f.q;
        g[static_cast<std::size_t>(i)] = 1;
        for (int k = i - 1; k >= 1; --k)
            g[static_cast<std::size_t>(k)] = times(g[static_cast<std::size_t>(k)], root) ^ g[static_cast<std::size_t>(k - 1)];
        g[0] = times(g[0], root);
    }
    code.field = &f;
    code.n = n;
    code.generatorLog.resize(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        code.generatorLog[static_cast<std::size_t>(k)] = f.log[static_cast<std::size_t>(g[static_cast<std::size_t>(k)])];
}

template <typename T>
void Encode(std::size_t length, const T* data, T* result) {
    const RsCode& code = *State().code;
    const RsField& f = *code.field;
    const int n = code.n;
    const std::uint16_t* g = code.generatorLog.data();
    for (int k = 0; k < n; ++k) result[k] = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned m = static_cast<unsigned>(data[i]) ^ static_cast<unsigned>(result[n - 1]);
        if (m == 0) {
            for (int k = n - 1; k >= 1; --k) result[k] = result[k - 1];
            result[0] = 0;
            continue;
        }
        // alpha^(log m + log g[k]), the logarithm of m taken once for the whole row.
        const std::uint16_t* times = f.antilog.data() + f.log[m];
        for (int k = n - 1; k >= 1; --k) result[k] = static_cast<T>(result[k - 1] ^ times[g[k]]);
        result[0] = static_cast<T>(times[g[0]]);
    }
}

}  // namespace

void RsInitField(int polynomial) {
    ReedSolomonTables& s = State();
    RsField& f = s.fields[polynomial];
    if (f.q == 0) BuildField(f, polynomial);
    s.field = &f;
    s.code = nullptr;
}

void RsInitCode(int n, int index) {
    ReedSolomonTables& s = State();
    RsCode& code = s.codes[{s.field->polynomial, n, index}];
    if (!code.field) BuildCode(code, *s.field, n, index);
    s.code = &code;
}

void RsEncode(std::size_t length, const std::uint8_t* data, std::uint8_t* result) {
    Encode(length, data, result);
}

void RsEncodeLong(std::size_t length, const std::uint32_t* data, std::uint32_t* result) {
    Encode(length, data, result);
}

void RsFree() {
    ReedSolomonTables& s = State();
    s.field = nullptr;
    s.code = nullptr;
}

}  // namespace matrix
