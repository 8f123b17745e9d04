// A desktop session over the fake platform, and the font text of the front-ends drawn
// into images for the reader.
#pragma once

#include <string>

#include "desktop/fake_platform.h"
#include "session.h"
#include "support/band_text.h"
#include "support/barcode_image.h"

namespace desktop_testing {

struct SessionFixture {
    FakePlatform platform;
    desktop::OptionSettings options;
    linear::Context ctx{linear::kDesktop};
    desktop::Session session{ctx, options, platform};

    std::u16string Call(desktop::EncodeFn fn, std::u16string_view text) {
        const std::u16string copy(text);
        return std::u16string(fn(session, copy.c_str()));
    }
};

inline std::string Narrow(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) out += static_cast<char>(c);
    return out;
}

inline int Lines(std::u16string_view s) {
    int n = 0;
    for (char16_t c : s) n += c == u'\n';
    return n;
}

// Band text back into the module matrix (rows to the last band's end; those past the
// symbol are light).
inline std::optional<testing_support::Matrix> Bands(std::u16string_view font) {
    return testing_support::BandTextToMatrix(Narrow(font), 4 * Lines(font));
}

// Length of the first line of band text: the symbol's width in modules.
inline std::size_t BandWidth(std::u16string_view font) {
    const auto end = font.find_first_of(u"\r\n");
    return end == std::u16string_view::npos ? font.size() : end;
}

}  // namespace desktop_testing
