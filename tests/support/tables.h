// The published tables that the tests hold the encoders against; they live in data/tables of
// the checkout, each file with its source and format in its header.
#pragma once

#include <fstream>
#include <stdexcept>
#include <string>

namespace testing_support {

// Opens data/tables/<name>; a missing table throws, so that the test reading it fails.
inline std::ifstream OpenTable(const std::string& name) {
    const std::string path = std::string(KESTRIVO_TABLES_DIR) + "/" + name;
    std::ifstream f(path);
    if (!f) throw std::runtime_error("table missing: " + path);
    return f;
}

}  // namespace testing_support
