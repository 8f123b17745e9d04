// The independent reader of the round-trip tests: zxing-cpp (Debian's python3-zxing-cpp),
// run once for a whole batch of images.
#pragma once

#include <string>
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

// Whether the reader can run here (python3 with zxingcpp).
bool ReaderAvailable();

}  // namespace testing_support
