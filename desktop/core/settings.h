// The desktop program's option settings: one object that the application owns, that the
// Options pane writes and that the front-ends read at every encode. Nothing of it is
// stored; every run starts from the values below.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace desktop {

struct OptionSettings {
    // Zero-based indices of the chosen entries of the option lists below.
    std::int32_t QRCodeECLevel = 1;
    std::int32_t DataMatrixEncodation = 0;
    std::int32_t DataMatrixFormat = 0;
    std::int32_t GS1Mode = 0;  // flag: GS1 input when exactly 1
    std::int32_t MaxicodeMode = 2;
    std::int32_t PDF417SecurityLevel = 0;
    std::int32_t PDF417CompactionMode = 0;
    std::int32_t PDF417Truncate = 0;  // flag: truncated PDF417 when exactly 1
    std::int32_t PDF417MaxRows = 0;
    std::int32_t PDF417FixedColumns = 0;
    std::int32_t AztecPreferredFormat = 0;
    std::int32_t AztecECLevel = 4;

    // The Options pane's own flags.
    std::int32_t HumanReadable = 1;
    std::int32_t AddChecksum = 0;

    // The Intelligent Mail fields, joined by ComposeIMData.
    std::u16string IMBarcodeIdentifier;
    std::u16string IMServiceTypeIdentifier;
    std::u16string IMMailerIdentifier;
    std::u16string IMSerialNumber;
    std::u16string IMZipCode;
};

// The check boxes' flip: 0 becomes 1, any other value 0.
inline std::int32_t Flipped(std::int32_t flag) { return flag == 0 ? 1 : 0; }

// The Intelligent Mail fields joined in their order, with nothing between them.
std::u16string ComposeIMData(const OptionSettings& settings);

// Behaviour of the "Checksum" and "Human Readable" boxes when a symbology becomes current.
struct CheckBoxState {
    bool shown, checked, enabled;
};
// Applies a CheckBoxMode (0 to 4) to `flag`; any other mode leaves the flag and shows the
// box. Returns the box's state.
CheckBoxState ApplyChecksumMode(std::int32_t mode, std::int32_t& addChecksum);
CheckBoxState ApplyHumanReadableMode(std::int32_t mode, std::int32_t& humanReadable);

// The entries of the option lists, index 0 first.
extern const std::array<std::u16string_view, 4> kQRCodeECLevelEntries;
extern const std::array<std::u16string_view, 7> kDataMatrixEncodationEntries;
extern const std::array<std::u16string_view, 31> kDataMatrixFormatEntries;
extern const std::array<std::u16string_view, 5> kMaxicodeModeEntries;
extern const std::array<std::u16string_view, 9> kPDF417SecurityLevelEntries;
extern const std::array<std::u16string_view, 4> kPDF417CompactionModeEntries;
extern const std::array<std::u16string_view, 37> kAztecPreferredFormatEntries;
extern const std::array<std::u16string_view, 19> kAztecECLevelEntries;

}  // namespace desktop
