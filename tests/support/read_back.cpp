#include "support/read_back.h"

#include <filesystem>
#include <fstream>

namespace testing_support {

namespace {

std::string Hex(const std::string& s) {
    static const char digits[] = "0123456789abcdef";
    std::string h;
    for (unsigned char c : s) {
        h += digits[c >> 4];
        h += digits[c & 15];
    }
    return h;
}

std::string Clean(std::string label) {
    for (char& c : label)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return label;
}

}  // namespace

void ReadBackBatch::Add(const std::string& label, const Image& image, const std::string& format,
                        bool pure, const std::string& expected, bool compareBytes) {
    entries_.push_back({Clean(label), format, expected, pure, compareBytes, image});
}

bool ReadBackBatch::Write(const std::string& dir) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(dir, ec);
    std::ofstream manifest(fs::path(dir) / "manifest.tsv", std::ios::binary);
    if (!manifest) return false;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        const std::string name = std::to_string(i) + ".pgm";
        std::ofstream pgm(fs::path(dir) / name, std::ios::binary);
        pgm << "P5\n" << e.image.width << " " << e.image.height << "\n255\n";
        pgm.write(reinterpret_cast<const char*>(e.image.pixels.data()),
                  static_cast<std::streamsize>(e.image.pixels.size()));
        if (!pgm) return false;
        manifest << name << '\t' << e.format << '\t' << (e.pure ? 1 : 0) << '\t'
                 << (e.bytes ? "bytes" : "text") << '\t' << Hex(e.expected) << '\t' << e.label
                 << '\n';
    }
    return static_cast<bool>(manifest);
}

}  // namespace testing_support
