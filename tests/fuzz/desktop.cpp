// The desktop program's encode road over arbitrary UTF-16 text: every row of the symbology
// table with options taken from the input, over a platform whose code pages are simulated;
// and the desktop Code 16K encoder over arbitrary bytes, each symbol read back.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "code16k_desktop.h"
#include "support/code16k_reader.h"
#include "desktop/fake_platform.h"
#include "symbology_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    // Code 16K: a symbol whose data reads back, or "Input too long".
    {
        auto rec = std::make_unique<matrix::SymbolRecord>();
        const int result = desktop::EncodeCode16KRecord(*rec, {data + 4, size - 4}, matrix::Call::Desktop());
        if (result == 0) {
            std::u16string font;
            for (const char* p = rec->fontText; *p; ++p) font += static_cast<char16_t>(static_cast<unsigned char>(*p));
            const auto read = testing_support::ReadCode16k(font, testing_support::Code16kGlyphs::Desktop);
            if (!read || read->data != std::string(reinterpret_cast<const char*>(data + 4), size - 4)) __builtin_trap();
        } else if (result != 5) {
            __builtin_trap();
        }
    }

    static linear::Context ctx(linear::kDesktop);
    static const auto table = desktop::BuildSymbologyTable();
    desktop_testing::FakePlatform platform;
    platform.system = data[0] & 1 ? desktop_testing::FakePage::DoubleByte : desktop_testing::FakePage::Latin1;
    platform.thread = data[0] & 2 ? desktop_testing::FakePage::DoubleByte : desktop_testing::FakePage::Latin1;
    desktop::OptionSettings options;
    options.QRCodeECLevel = data[1] % 4;
    options.DataMatrixEncodation = data[1] / 4 % 7;
    options.DataMatrixFormat = data[2] % 31;
    options.GS1Mode = data[2] / 31 % 2;
    options.MaxicodeMode = data[3] % 5;
    options.PDF417SecurityLevel = data[3] / 5 % 9;
    options.PDF417Truncate = data[0] >> 2 & 1;
    options.PDF417FixedColumns = data[0] >> 3 & 31;
    options.AztecPreferredFormat = data[1] % 37;
    options.AztecECLevel = data[2] % 19;
    options.AddChecksum = data[0] >> 7;
    desktop::Session session{ctx, options, platform};
    std::u16string text;
    for (std::size_t i = 4; i + 1 < size; i += 2) {
        const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (c) text += c;
    }
    for (const auto& row : table) {
        const std::u16string font = desktop::EncodeSelected(session, row, text);
        if (font.size() >= 8192) __builtin_trap();
    }
    return 0;
}
