// Symbols made where the reader cannot run (the Windows programs under Wine) are written to a
// folder with what each must read as; tests/support/read_back.py reads and judges them later.
#pragma once

#include <string>
#include <vector>

#include "support/barcode_image.h"

namespace testing_support {

class ReadBackBatch {
public:
    // `expected` is the data the reader must give: its text as UTF-8, or its bytes when
    // `compareBytes` is set. `format` is a zxing-cpp BarcodeFormat name.
    void Add(const std::string& label, const Image& image, const std::string& format, bool pure,
             const std::string& expected, bool compareBytes = false);
    // Writes dir/N.pgm and dir/manifest.tsv (the folder is made when missing).
    bool Write(const std::string& dir) const;
    std::size_t size() const { return entries_.size(); }

private:
    struct Entry {
        std::string label, format, expected;
        bool pure, bytes;
        Image image;
    };
    std::vector<Entry> entries_;
};

}  // namespace testing_support
