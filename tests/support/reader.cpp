#include "support/reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

#include "support/encode_texts.h"

namespace testing_support {

namespace {

// The Python that runs the reader; KESTRIVO_PYTHON names another one.
std::string Python() {
    const char* p = std::getenv("KESTRIVO_PYTHON");
    return p && *p ? p : "/usr/bin/python3";
}

std::string FromHex(const std::string& hex) {
    std::string s;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        s += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return s;
}

void WritePgm(const std::filesystem::path& path, const Image& img) {
    std::ofstream f(path, std::ios::binary);
    f << "P5\n" << img.width << " " << img.height << "\n255\n";
    f.write(reinterpret_cast<const char*>(img.pixels.data()),
            static_cast<std::streamsize>(img.pixels.size()));
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(line);
    while (std::getline(in, part, '\t')) parts.push_back(part);
    while (parts.size() < 6) parts.emplace_back();
    return parts;
}

}  // namespace

bool ReaderAvailable() {
    static const bool available =
        std::system((Python() + " -c 'import zxingcpp, PIL' >/dev/null 2>&1").c_str()) == 0;
    return available;
}

std::string MakeTempFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kestrivo-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    return tmpl;
}

bool ZbarAvailable() {
    static const bool available = std::system("zbarimg --version >/dev/null 2>&1") == 0;
    return available;
}

bool MissingToolsAllowed() {
    const char* allow = std::getenv("KESTRIVO_ALLOW_MISSING_TOOLS");
    return allow && std::string(allow) == "1";
}

std::vector<ReadResult> ReadBarcodes(const std::vector<Image>& images, const ReadOptions& options) {
    namespace fs = std::filesystem;
    const fs::path dir(MakeTempFolder());
    {
        std::ofstream manifest(dir / "manifest.tsv");
        for (std::size_t i = 0; i < images.size(); ++i) {
            const fs::path p = dir / (std::to_string(i) + ".pgm");
            WritePgm(p, images[i]);
            manifest << p.string() << '\t' << options.format << '\t' << (options.pure ? 1 : 0) << '\n';
        }
    }
    const std::string cmd = Python() + " " KESTRIVO_TEST_SUPPORT_DIR "/read_barcodes.py " +
                            (dir / "manifest.tsv").string() + " > " + (dir / "out.tsv").string();
    const int rc = std::system(cmd.c_str());
    std::vector<ReadResult> results(images.size());
    std::ifstream out(dir / "out.tsv");
    std::string line;
    while (std::getline(out, line)) {
        const auto f = Split(line);
        if (f[0].empty()) continue;
        const std::size_t index = std::stoul(f[0]);
        if (index >= results.size()) continue;
        ReadResult& r = results[index];
        r.found = f[1] == "1";
        r.format = f[2];
        r.symbologyId = f[3];
        r.bytes = FromHex(f[4]);
        r.text = FromHex(f[5]);
    }
    fs::remove_all(dir);
    if (rc != 0) throw std::runtime_error("the reader failed: " + cmd);
    return results;
}

void ReadBackLinear(const std::vector<LinearCase>& cases, FontReader font, const char* format,
                    std::string (*adjust)(const std::string&)) {
    std::vector<Image> images;
    for (const LinearCase& c : cases) {
        const auto modules = font(c.fontText);
        ASSERT_TRUE(modules) << Show(c.fontText);
        images.push_back(RenderLinear(*modules, 2, 30, 12));
    }
    const auto results = ReadBarcodes(images, {format, false});
    for (std::size_t i = 0; i < cases.size(); ++i) {
        ASSERT_TRUE(results[i].found) << "not read: " << Show(cases[i].input);
        const std::string got = adjust ? adjust(results[i].text) : results[i].text;
        EXPECT_EQ(got, cases[i].expected) << "input " << Show(cases[i].input);
    }
}

}  // namespace testing_support
