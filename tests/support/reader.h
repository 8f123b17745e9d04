// The independent reader of the round-trip tests: zxing-cpp (Debian's python3-zxing-cpp),
// run once for a whole batch of images.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/barcode_image.h"

namespace testing_support {

struct ReadOptions {
    std::string format;   // a zxing-cpp BarcodeFormat name: "Code39", "QRCode", ...
    bool pure = false;    // the image holds one perfectly aligned symbol
};

struct ReadResult {
    bool found = false;
    std::string format;
    std::string symbologyId;  // e.g. "]C1"
    std::string bytes;        // the decoded bytes
    std::string text;         // the decoded text, UTF-8
};

// Reads every image; one result per image, in order.
std::vector<ReadResult> ReadBarcodes(const std::vector<Image>& images, const ReadOptions& options);

// Whether the reader can run here: the Python of KESTRIVO_PYTHON (default /usr/bin/python3)
// with zxingcpp and PIL.
bool ReaderAvailable();
// A fresh folder below the temporary folder, unique to the call (tests of several checkouts
// may run at once on one machine).
std::string MakeTempFolder();

// Whether zbarimg runs here (found on PATH).
bool ZbarAvailable();
// Whether the developer asked to skip, rather than fail, the tests whose reader is missing
// (KESTRIVO_ALLOW_MISSING_TOOLS=1).
bool MissingToolsAllowed();

// Ends the test when a reader it needs cannot run: a failure, or a skip only when the
// developer allowed missing tools.
#define REQUIRE_READER(available, name)                                                          \
    do {                                                                                         \
        if (!(available)) {                                                                      \
            if (::testing_support::MissingToolsAllowed())                                        \
                GTEST_SKIP() << (name) << " missing; skipped (KESTRIVO_ALLOW_MISSING_TOOLS=1)";  \
            GTEST_FAIL() << (name) << " missing: install it (bash scripts/setup.sh), or set "    \
                            "KESTRIVO_ALLOW_MISSING_TOOLS=1 to skip the tests that need it";     \
        }                                                                                        \
    } while (0)

// One linear symbol of a round trip: the encoder's input, the data the reader must return,
// and the encoder's font text.
struct LinearCase {
    std::u16string input;
    std::string expected;
    std::u16string fontText;
};
using FontReader = std::optional<Modules> (*)(std::u16string_view fontText);

// Draws every case's font text with `font`, reads the images as `format` and expects the
// reader's text, passed through `adjust` when given, to be the case's expected data.
void ReadBackLinear(const std::vector<LinearCase>& cases, FontReader font, const char* format,
                    std::string (*adjust)(const std::string&) = nullptr);

}  // namespace testing_support
