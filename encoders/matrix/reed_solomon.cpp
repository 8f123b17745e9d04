#include "reed_solomon.h"

#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <vector>

namespace matrix {

namespace {

// GF(2^m) of one polynomial. A product is antilog[log a + log b] with no modulo: the
// antilog table runs through the group twice (2q - 1 entries) and then holds q zeros, which
// the logarithm kZeroLog(q) of the element 0 reaches.
struct Field {
    int polynomial = 0;
    int q = 0;                          // 2^m - 1
    std::vector<std::uint16_t> log;      // 2^m entries; log[0] is the zero logarithm
    std::vector<std::uint16_t> antilog;  // 3q - 1 entries
};

constexpr int ZeroLog(int q) { return 2 * q - 1; }

// One generator polynomial: the logarithms of its coefficients x^0 .. x^(n-1) (x^n is 1).
struct Code {
    const Field* field = nullptr;
    int n = 0;
    std::vector<std::uint16_t> generatorLog;
};

// Fields and generators are built on first use and never change after; the cache holds each
// (field, degree, first root) once. The current selection is module-wide: one encode at a time.
struct RsState {
    std::mutex mutex;
    std::map<int, std::unique_ptr<Field>> fields;
    std::map<std::tuple<int, int, int>, std::unique_ptr<Code>> codes;
    const Field* field = nullptr;
    const Code* code = nullptr;
};

RsState& State() {
    static RsState state;
    return state;
}

std::unique_ptr<Field> BuildField(int polynomial) {
    auto f = std::make_unique<Field>();
    f->polynomial = polynomial;
    int b = 1, m = 0;
    while (b <= polynomial) {
        b <<= 1;
        ++m;
    }
    b >>= 1;
    --m;
    const int q = (1 << m) - 1;
    f->q = q;
    f->log.assign(static_cast<std::size_t>(q) + 1, 0);
    f->antilog.assign(static_cast<std::size_t>(3 * q - 1), 0);
    f->log[0] = static_cast<std::uint16_t>(ZeroLog(q));
    int p = 1;
    for (int v = 0; v < q; ++v) {
        f->antilog[static_cast<std::size_t>(v)] = static_cast<std::uint16_t>(p);
        f->antilog[static_cast<std::size_t>(v + q)] = static_cast<std::uint16_t>(p);
        f->log[static_cast<std::size_t>(p)] = static_cast<std::uint16_t>(v);
        p <<= 1;
        if (p & b) p ^= polynomial;
    }
    return f;
}

// The monic product of (x + alpha^j) for j = index .. index + n - 1.
std::unique_ptr<Code> BuildCode(const Field& f, int n, int index) {
    std::vector<int> g(static_cast<std::size_t>(n) + 1, 0);
    g[0] = 1;
    auto times = [&](int a, int logB) { return a == 0 ? 0 : f.antilog[static_cast<std::size_t>(f.log[static_cast<std::size_t>(a)] + logB)]; };
    for (int i = 1; i <= n; ++i, ++index) {
        const int root = index % f.q;
        g[static_cast<std::size_t>(i)] = 1;
        for (int k = i - 1; k >= 1; --k)
            g[static_cast<std::size_t>(k)] = times(g[static_cast<std::size_t>(k)], root) ^ g[static_cast<std::size_t>(k - 1)];
        g[0] = times(g[0], root);
    }
    auto code = std::make_unique<Code>();
    code->field = &f;
    code->n = n;
    code->generatorLog.resize(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) code->generatorLog[static_cast<std::size_t>(k)] = f.log[static_cast<std::size_t>(g[static_cast<std::size_t>(k)])];
    return code;
}

template <typename T>
void Encode(std::size_t length, const T* data, T* result) {
    const Code& code = *State().code;
    const Field& f = *code.field;
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
        // alpha^(log m + log g[k]): the logarithm of m once for the whole row.
        const std::uint16_t* times = f.antilog.data() + f.log[m];
        for (int k = n - 1; k >= 1; --k) result[k] = static_cast<T>(result[k - 1] ^ times[g[k]]);
        result[0] = static_cast<T>(times[g[0]]);
    }
}

}  // namespace

void RsInitField(int polynomial) {
    RsState& s = State();
    const std::lock_guard<std::mutex> lock(s.mutex);
    auto& f = s.fields[polynomial];
    if (!f) f = BuildField(polynomial);
    s.field = f.get();
    s.code = nullptr;
}

void RsInitCode(int n, int index) {
    RsState& s = State();
    const std::lock_guard<std::mutex> lock(s.mutex);
    auto& code = s.codes[{s.field->polynomial, n, index}];
    if (!code) code = BuildCode(*s.field, n, index);
    s.code = code.get();
}

void RsEncode(std::size_t length, const std::uint8_t* data, std::uint8_t* result) {
    Encode(length, data, result);
}

void RsEncodeLong(std::size_t length, const std::uint32_t* data, std::uint32_t* result) {
    Encode(length, data, result);
}

void RsFree() {
    RsState& s = State();
    s.field = nullptr;
    s.code = nullptr;
}

}  // namespace matrix
