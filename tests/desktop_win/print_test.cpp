// "Print" of Encoder under Wine: a file printer of the test's own (Wine's PostScript driver and
// a small PPD), the print dialog answered from this second process, and the program's GDI
// objects counted across prints and cancels. The PostScript pages are rendered and read back
// natively afterwards (tests/support/print_read_back.py).
#include <windows.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

#include "encoder_driver.h"
#include "print.h"
#include "resource.h"

#ifndef KESTRIVO_PRINT_DIR
#error KESTRIVO_PRINT_DIR names the folder of the printed pages (a Unix path)
#endif

namespace {

constexpr int kData = IDC_DATA, kSymbology = IDC_SYMBOLOGY, kFace = IDC_FACE, kPrintTool = IDC_TOOL_PRINT;
constexpr wchar_t kPrinter[] = L"Kestrivo File Printer";
constexpr wchar_t kDriver[] = L"Kestrivo PostScript";
const std::string kPrintDir = KESTRIVO_PRINT_DIR;
const std::string kSpoolFile = kPrintDir + "/spool.ps";

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }
std::wstring DosPath(const std::string& unixPath) { return L"Z:" + Wide(unixPath); }

// A4 only, one resolution: enough for Wine's PostScript driver to make a DC.
constexpr char kPpd[] =
    "*PPD-Adobe: \"4.3\"\n"
    "*FormatVersion: \"4.3\"\n"
    "*FileVersion: \"1.0\"\n"
    "*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n"
    "*PCFileName: \"KESTRIVO.PPD\"\n"
    "*Manufacturer: \"Kestrivo\"\n"
    "*Product: \"(Kestrivo File Printer)\"\n"
    "*ModelName: \"Kestrivo File Printer\"\n"
    "*ShortNickName: \"Kestrivo File Printer\"\n"
    "*NickName: \"Kestrivo File Printer\"\n"
    "*PSVersion: \"(3010.000) 0\"\n"
    "*LanguageLevel: \"3\"\n"
    "*ColorDevice: False\n"
    "*DefaultColorSpace: Gray\n"
    "*FileSystem: False\n"
    "*Throughput: \"1\"\n"
    "*LandscapeOrientation: Plus90\n"
    "*TTRasterizer: Type42\n"
    "*DefaultResolution: 300dpi\n"
    "*OpenUI *PageSize/Media Size: PickOne\n"
    "*OrderDependency: 10 AnySetup *PageSize\n"
    "*DefaultPageSize: A4\n"
    "*PageSize A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n"
    "*CloseUI: *PageSize\n"
    "*OpenUI *PageRegion: PickOne\n"
    "*OrderDependency: 10 AnySetup *PageRegion\n"
    "*DefaultPageRegion: A4\n"
    "*PageRegion A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n"
    "*CloseUI: *PageRegion\n"
    "*DefaultImageableArea: A4\n"
    "*ImageableArea A4/A4: \"0 0 595 842\"\n"
    "*DefaultPaperDimension: A4\n"
    "*PaperDimension A4/A4: \"595 842\"\n";

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(f);
    return ok && written == bytes.size();
}

bool SetString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY k = nullptr;
    if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG rc = ::RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

bool SetNumber(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value) {
    HKEY k = nullptr;
    if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG rc = ::RegSetValueExW(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    ::RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

// The PostScript driver with the PPD, a printer whose port is the spool file, and that printer
// as the default. The prefix has neither of the page's text faces: the serif and the sans face
// of the system stand in for them, so that a reader of the page can tell the two apart.
bool InstallFilePrinter() {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    std::wstring driverDir = system;
    for (const wchar_t* part : {L"\\spool", L"\\drivers", L"\\x64", L"\\3"})
        ::CreateDirectoryW((driverDir += part).c_str(), nullptr);
    if (!WriteWholeFile(driverDir + L"\\kestrivo.ppd", kPpd)) return false;
    ::CreateDirectoryW(DosPath(kPrintDir).c_str(), nullptr);
    const std::wstring drivers = std::wstring(L"System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64"
                                              L"\\Drivers\\Version-3\\") + kDriver;
    const std::wstring printer = std::wstring(L"System\\CurrentControlSet\\Control\\Print\\Printers\\") + kPrinter;
    const std::wstring port = Wide(kSpoolFile);
    const std::wstring nt = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\";
    const std::wstring substitutes = nt + L"FontSubstitutes";
    return SetString(HKEY_LOCAL_MACHINE, substitutes, L"Times New Roman", L"DejaVu Serif") &&
           SetString(HKEY_LOCAL_MACHINE, substitutes, L"Arial", L"DejaVu Sans") &&
           SetString(HKEY_LOCAL_MACHINE, drivers, L"Driver", L"wineps.drv") &&
           SetString(HKEY_LOCAL_MACHINE, drivers, L"Configuration File", L"wineps.drv") &&
           SetString(HKEY_LOCAL_MACHINE, drivers, L"Data File", L"kestrivo.ppd") &&
           SetString(HKEY_LOCAL_MACHINE, drivers, L"Help File", L"") &&
           SetString(HKEY_LOCAL_MACHINE, drivers, L"Datatype", L"RAW") &&
           SetNumber(HKEY_LOCAL_MACHINE, drivers, L"Version", 3) &&
           SetString(HKEY_LOCAL_MACHINE, printer, L"Name", kPrinter) &&
           SetString(HKEY_LOCAL_MACHINE, printer, L"Port", port) &&
           SetString(HKEY_LOCAL_MACHINE, printer, L"Printer Driver", kDriver) &&
           SetString(HKEY_LOCAL_MACHINE, printer, L"Print Processor", L"WinPrint") &&
           SetString(HKEY_LOCAL_MACHINE, printer, L"Datatype", L"RAW") &&
           SetNumber(HKEY_LOCAL_MACHINE, printer, L"Attributes", 0) &&
           SetString(HKEY_CURRENT_USER, nt + L"Windows", L"Device", std::wstring(kPrinter) + L",WINEPS.DRV," + port) &&
           SetString(HKEY_CURRENT_USER, nt + L"Devices", kPrinter, L"WINEPS.DRV," + port) &&
           SetString(HKEY_CURRENT_USER, nt + L"PrinterPorts", kPrinter, L"WINEPS.DRV," + port + L",15,45");
}

bool FileExists(const std::string& unixPath) {
    return ::GetFileAttributesW(DosPath(unixPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The visible print dialog of the process, found within `ms`.
HWND WaitPrintDialog(DWORD pid, DWORD ms) {
    struct Search {
        DWORD pid;
        HWND found;
    } s{pid, nullptr};
    const DWORD until = ::GetTickCount() + ms;
    while (true) {
        ::EnumWindows(
            [](HWND wnd, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD owner = 0;
                ::GetWindowThreadProcessId(wnd, &owner);
                wchar_t cls[32] = {};
                ::GetClassNameW(wnd, cls, 32);
                if (owner != s->pid || std::wstring(cls) != L"#32770" || !::IsWindowVisible(wnd)) return TRUE;
                if (TextOf(wnd) != L"Print") return TRUE;
                s->found = wnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&s));
        if (s.found || static_cast<int>(::GetTickCount() - until) >= 0) return s.found;
        ::Sleep(50);
    }
}

// Clicks "Print", answers the dialog with OK (`print`) or Cancel and waits until the main
// window handles messages again, the job done.
bool PrintFromTool(EncoderProcess& app, HWND main, bool print) {
    ::PostMessageW(::GetDlgItem(main, kPrintTool), BM_CLICK, 0, 0);
    HWND dialog = WaitPrintDialog(app.pid(), 10000);
    if (!dialog) return false;
    ::PostMessageW(::GetDlgItem(dialog, print ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    for (int i = 0; i < 200 && ::IsWindow(dialog); ++i) ::Sleep(25);
    DWORD_PTR result = 0;
    return !::IsWindow(dialog) &&
           ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, 20000, &result) != 0;
}

// The live entries of a process's GDI handle table (the PEB's GdiSharedHandleTable: 65,536
// entries of 24 bytes, the object type in the byte at offset 14, zero when the entry is free).
int GdiObjects(HANDLE process) {
    PROCESS_BASIC_INFORMATION info{};
    ULONG size = 0;
    if (::NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof info, &size) != 0) return -1;
    std::uint64_t table = 0;
    SIZE_T got = 0;
    if (!::ReadProcessMemory(process, reinterpret_cast<const char*>(info.PebBaseAddress) + 0xF8, &table, sizeof table, &got) ||
        !table)
        return -1;
    constexpr std::size_t kEntries = 0x10000, kEntrySize = 24, kTypeOffset = 14;
    std::vector<std::uint8_t> entries(kEntries * kEntrySize);
    if (!::ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(), entries.size(), &got))
        return -1;
    int live = 0;
    for (std::size_t i = 0; i < kEntries; ++i) live += entries[i * kEntrySize + kTypeOffset] != 0;
    return live;
}

// The count once the program's last objects of a step have gone (two samples 100 ms apart agree).
int SettledGdiObjects(HANDLE process) {
    int last = GdiObjects(process);
    for (int i = 0; i < 30; ++i) {
        ::Sleep(100);
        const int now = GdiObjects(process);
        if (now == last) return now;
        last = now;
    }
    return last;
}

class Print : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installed = InstallFilePrinter(); }
    void SetUp() override {
        ASSERT_TRUE(installed) << "file printer not set up";
        ::DeleteFileW(DosPath(kSpoolFile).c_str());
        ASSERT_TRUE(app.Start());
        main = app.WaitMain();
        ASSERT_NE(main, nullptr);
        pane = app.Pane();
        data = ::GetDlgItem(main, kData);
    }
    void Enter(const wchar_t* row, const std::wstring& text) {
        ASSERT_TRUE(ChooseEntry(pane, kSymbology, row)) << "row not listed";
        ::SendMessageW(data, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(kData, EN_CHANGE), reinterpret_cast<LPARAM>(data));
        Settle(main);
    }
    static inline bool installed = false;
    EncoderProcess app;
    HWND main = nullptr, pane = nullptr, data = nullptr;
};

}  // namespace

// Each page is kept with what it must show; print_read_back.py renders and judges them.
TEST_F(Print, EachRowPrintsOnePageToTheFilePrinter) {
    const std::string out = kPrintDir + "/pages";
    ::CreateDirectoryW(DosPath(out).c_str(), nullptr);
    ::DeleteFileW(DosPath(out + "/manifest.tsv").c_str());
    std::string manifest;
    const struct {
        const char* name;
        const wchar_t* row;
        const wchar_t* typed;
        const char* format;  // zxing-cpp's name, or POSTNET (read by the bars' heights)
        int lines;           // barcode lines on the page
    } pages[] = {
        {"code128", L"Code128B", L"Kestrivo&42", "Code128", 4},
        {"databar", L"Databar Expanded", L"(01)90012345678908(3103)001750", "DataBarExpanded", 4},
        {"qrcode", L"QR Code", L"Kestrivo Encoder & print 0123456789", "QRCode", 4},
        {"maxicode", L"Maxicode", L"Kestrivo Maxicode print", "MaxiCode", 4},
        {"postnet", L"Postnet", L"123456789", "POSTNET", 1},
    };
    for (const auto& p : pages) {
        Enter(p.row, p.typed);
        ::DeleteFileW(DosPath(kSpoolFile).c_str());
        ASSERT_TRUE(PrintFromTool(app, main, true)) << p.name;
        ASSERT_TRUE(FileExists(kSpoolFile)) << p.name << ": nothing printed";
        const std::string page = out + "/" + p.name + ".ps";
        ::DeleteFileW(DosPath(page).c_str());
        ASSERT_TRUE(::MoveFileW(DosPath(kSpoolFile).c_str(), DosPath(page).c_str()));
        const std::wstring face = TextOf(::GetDlgItem(pane, kFace));
        std::string row(p.row, p.row + std::wcslen(p.row)), typed(p.typed, p.typed + std::wcslen(p.typed)),
            faceName(face.begin(), face.end());
        manifest += std::string(p.name) + ".ps\t" + p.format + '\t' + std::to_string(p.lines) + '\t' + row + '\t' +
                    faceName + '\t' + typed + '\n';
    }
    EXPECT_TRUE(WriteWholeFile(DosPath(out + "/manifest.tsv"), manifest));
}

TEST_F(Print, CancelPrintsNothingAndNoJobLeavesGdiObjectsBehind) {
    Enter(L"Code128B", L"Kestrivo-7");
    // The first job and the first dialog load what stays loaded (driver, fonts, dialog).
    ASSERT_TRUE(PrintFromTool(app, main, true));
    ASSERT_TRUE(PrintFromTool(app, main, false));
    ::DeleteFileW(DosPath(kSpoolFile).c_str());
    const int before = SettledGdiObjects(app.process());
    ASSERT_GT(before, 0) << "GDI handle table not readable";
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(PrintFromTool(app, main, false));
    EXPECT_FALSE(FileExists(kSpoolFile)) << "a cancelled dialog printed";
    EXPECT_EQ(SettledGdiObjects(app.process()), before) << "after three cancels";
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(PrintFromTool(app, main, true));
        EXPECT_TRUE(FileExists(kSpoolFile));
        ::DeleteFileW(DosPath(kSpoolFile).c_str());
    }
    EXPECT_EQ(SettledGdiObjects(app.process()), before) << "after three prints";
}

// The dialog's own results in this process: the default printer's DC and device blocks, freed.
TEST(PrintDialog, ReleaseFreesThePrinterDcAndTheDeviceBlocks) {
    ASSERT_TRUE(InstallFilePrinter());
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    ASSERT_TRUE(::PrintDlgW(&pd)) << "no default printer";
    ASSERT_NE(pd.hDC, nullptr);
    ASSERT_NE(pd.hDevMode, nullptr);
    ASSERT_NE(pd.hDevNames, nullptr);
    const HDC dc = pd.hDC;
    const HGLOBAL mode = pd.hDevMode, names = pd.hDevNames;
    EXPECT_EQ(::GetObjectType(dc), static_cast<DWORD>(OBJ_DC));
    EXPECT_NE(::GlobalFlags(mode), static_cast<UINT>(GMEM_INVALID_HANDLE));
    ReleasePrintDialog(pd);
    EXPECT_EQ(pd.hDC, nullptr);
    EXPECT_EQ(pd.hDevMode, nullptr);
    EXPECT_EQ(pd.hDevNames, nullptr);
    EXPECT_EQ(::GetObjectType(dc), 0u) << "printer DC still alive";
    EXPECT_EQ(::GlobalFlags(mode), static_cast<UINT>(GMEM_INVALID_HANDLE)) << "device mode still allocated";
    EXPECT_EQ(::GlobalFlags(names), static_cast<UINT>(GMEM_INVALID_HANDLE)) << "device names still allocated";
    ReleasePrintDialog(pd);  // nothing left to free: no harm
    CPrintDialog nothing(nullptr, 0);  // never shown: frees nothing
}
