#include "settings.h"

namespace desktop {

std::u16string ComposeIMData(const OptionSettings& s) {
    return s.IMBarcodeIdentifier + s.IMServiceTypeIdentifier + s.IMMailerIdentifier +
           s.IMSerialNumber + s.IMZipCode;
}

namespace {
// Per mode 0 to 4: box shown, checked, enabled, and the flag value (0 or 1).
struct ModeRow {
    CheckBoxState box;
    std::int32_t flag;
};
constexpr ModeRow kModes[5] = {
    {{false, false, false}, -1},  // hidden; the flag is given per box below
    {{true, true, false}, 1},
    {{true, false, false}, 0},
    {{true, true, true}, 1},
    {{true, false, true}, 0},
};

CheckBoxState Apply(std::int32_t mode, std::int32_t& flag, std::int32_t hiddenValue) {
    if (mode < 0 || mode > 4) return {true, flag != 0, true};
    const ModeRow& row = kModes[mode];
    flag = mode == 0 ? hiddenValue : row.flag;
    return row.box;
}
}  // namespace

CheckBoxState ApplyChecksumMode(std::int32_t mode, std::int32_t& addChecksum) {
    return Apply(mode, addChecksum, 0);
}

CheckBoxState ApplyHumanReadableMode(std::int32_t mode, std::int32_t& humanReadable) {
    return Apply(mode, humanReadable, 1);
}

const std::array<std::u16string_view, 4> kQRCodeECLevelEntries = {u"L07", u"M15", u"Q25", u"H30"};
const std::array<std::u16string_view, 7> kDataMatrixEncodationEntries = {
    u"Auto", u"ASCII", u"C40", u"Text", u"X12", u"EDIFACT", u"Base 256"};
const std::array<std::u16string_view, 31> kDataMatrixFormatEntries = {
    u"Auto",      u"10 * 10",   u"12 * 12",   u"14 * 14",   u"16 * 16",   u"18 * 18",
    u"20 * 20",   u"22 * 22",   u"24 * 24",   u"26 * 26",   u"32 * 32",   u"36 * 36",
    u"40 * 40",   u"44 * 44",   u"48 * 48",   u"52 * 52",   u"64 * 64",   u"72 * 72",
    u"80 * 80",   u"88 * 88",   u"96 * 96",   u"104 * 104", u"120 * 120", u"132 * 132",
    u"144 * 144", u"8 * 18",    u"8 * 32",    u"12 * 26",   u"12 * 36",   u"16 * 36",
    u"16 * 48"};
const std::array<std::u16string_view, 5> kMaxicodeModeEntries = {u"Mode 2", u"Mode 3", u"Mode 4",
                                                                  u"Mode 5", u"Mode 6"};
const std::array<std::u16string_view, 9> kPDF417SecurityLevelEntries = {
    u"Auto", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8"};
const std::array<std::u16string_view, 4> kPDF417CompactionModeEntries = {u"Mixed Mode", u"Text",
                                                                         u"Number", u"Binary"};
const std::array<std::u16string_view, 37> kAztecPreferredFormatEntries = {
    u"Auto",      u"15 X 15 compact format", u"19 X 19",   u"19 X 19 compact format",
    u"23 X 23",   u"23 X 23 compact format", u"27 X 27",   u"27 X 27 compact format",
    u"31 X 31",   u"37 X 37",   u"41 X 41",   u"45 X 45",   u"49 X 49",   u"53 X 53",
    u"57 X 57",   u"61 X 61",   u"67 X 67",   u"71 X 71",   u"75 X 75",   u"79 X 79",
    u"83 X 83",   u"87 X 87",   u"91 X 91",   u"95 X 95",   u"101 X 101", u"105 X 105",
    u"109 X 109", u"113 X 113", u"117 X 117", u"121 X 121", u"125 X 125", u"131 X 131",
    u"135 X 135", u"139 X 139", u"143 X 143", u"147 X 147", u"151 X 151"};
const std::array<std::u16string_view, 19> kAztecECLevelEntries = {
    u"5%",  u"10%", u"15%", u"20%", u"23%", u"25%", u"30%", u"35%", u"40%", u"45%",
    u"50%", u"55%", u"60%", u"65%", u"70%", u"75%", u"80%", u"85%", u"90%"};

}  // namespace desktop
