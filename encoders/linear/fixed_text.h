// A text of fixed capacity on the stack, for encoders that build their data without
// allocating. Characters past the capacity are dropped.
#pragma once

#include <cstddef>
#include <string_view>

namespace linear {

template <std::size_t N>
class FixedText {
public:
    FixedText() { buf_[0] = 0; }
    FixedText(std::u16string_view s) : FixedText() { *this += s; }
    FixedText(const char16_t* s) : FixedText(std::u16string_view(s)) {}

    FixedText& operator+=(char16_t c) {
        if (n_ < N) {
            buf_[n_++] = c;
            buf_[n_] = 0;
        }
        return *this;
    }
    FixedText& operator+=(std::u16string_view s) {
        for (char16_t c : s) *this += c;
        return *this;
    }
    void resize(std::size_t n, char16_t fill) {
        if (n > N) n = N;
        while (n_ < n) buf_[n_++] = fill;
        n_ = n;
        buf_[n_] = 0;
    }
    char16_t operator[](std::size_t i) const { return buf_[i]; }
    char16_t* data() { return buf_; }
    const char16_t* c_str() const { return buf_; }
    std::size_t size() const { return n_; }
    bool empty() const { return n_ == 0; }
    std::u16string_view view() const { return {buf_, n_}; }
    operator std::u16string_view() const { return view(); }

private:
    char16_t buf_[N + 1];
    std::size_t n_ = 0;
};

}  // namespace linear
