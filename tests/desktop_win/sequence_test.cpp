// The batch dialog "Sequence Manipulation" of Encoder under Wine, driven as a user would from
// this second process: the "Sequence" tool button, typing into the fields, its buttons, the
// message boxes and the common open and save dialogs. The exported XSL-FO documents are left
// in a folder for tests/desktop_win/xslfo_readback.py (parsed, set by FOP and read back).
#include <windows.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "batch.h"
#include "batch_import.h"
#include "desktop/fake_platform.h"
#include "encoder_driver.h"
#include "file_bytes.h"
#include "real_mouse.h"
#include "resource.h"
#include "session.h"
#include "shaping.h"
#include "utf.h"
#include "settings.h"
#include "symbology_table.h"
#include "windows_platform.h"

#ifndef KESTRIVO_EXPORT_DIR
#error KESTRIVO_EXPORT_DIR names the folder of the exported documents
#endif
#ifndef KESTRIVO_HOSTILE_DIR
#error KESTRIVO_HOSTILE_DIR names the folder that hostile_files.sh prepares
#endif
#ifndef KESTRIVO_TEST_DATA_DIR
#error KESTRIVO_TEST_DATA_DIR names the folder of the test data files
#endif

namespace {

constexpr int kSequenceTool = IDC_TOOL_SEQUENCE, kSymbology = IDC_SYMBOLOGY, kMessageLine = IDC_MESSAGE_LINE;
constexpr int kBatch = IDC_SEQ_BATCH, kReset = IDC_SEQ_RESET, kStart = IDC_SEQ_START, kEnd = IDC_SEQ_END,
              kIncrement = IDC_SEQ_INCREMENT, kGenerate = IDC_SEQ_GENERATE, kImport = IDC_SEQ_IMPORT,
              kExport = IDC_SEQ_EXPORT, kPrefix = IDC_SEQ_PREFIX, kSuffix = IDC_SEQ_SUFFIX;

std::string Utf16Bytes(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

std::u16string U16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

// The name the file system gives the file at `path` (its case as stored), or "".
std::wstring StoredName(const std::wstring& path) {
    WIN32_FIND_DATAW found{};
    HANDLE h = ::FindFirstFileW(path.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return L"";
    ::FindClose(h);
    return found.cFileName;
}

std::wstring WindowsPath(std::wstring dir) {
    for (wchar_t& c : dir) c = c == L'/' ? L'\\' : c;
    return dir;
}
std::wstring ExportDir() { return WindowsPath(L"" KESTRIVO_EXPORT_DIR); }

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The font texts of the program's encode road with the default settings, computed here.
struct Road {
    desktop_testing::FakePlatform platform;
    desktop::OptionSettings options;
    linear::Context ctx{linear::kDesktop};
    desktop::Session session{ctx, options, platform};
    std::vector<desktop::SymbologyAction> table = desktop::BuildSymbologyTable();
    std::u16string operator()(std::u16string_view row, std::u16string_view record) {
        const desktop::SymbologyAction* action = desktop::FindSymbology(table, row);
        return action ? desktop::EncodeSelected(session, *action, record) : std::u16string();
    }
};

class BatchDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.Start());
        main = app.WaitMain();
        ASSERT_NE(main, nullptr);
        ::PostMessageW(::GetDlgItem(main, kSequenceTool), BM_CLICK, 0, 0);
        dialog = app.WaitDialog(kGenerate, L"Sequence Manipulation", 10000);
        ASSERT_NE(dialog, nullptr) << "the Sequence tool opens no batch dialog";
    }
    void TearDown() override {
        if (dialog && ::IsWindow(dialog)) {
            ::PostMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
            for (int i = 0; i < 100 && ::IsWindow(dialog); ++i) ::Sleep(50);
            EXPECT_FALSE(::IsWindow(dialog)) << "\"Close\" does not end the batch dialog";
        }
        app.Close();
    }

    HWND Field(int id) const { return ::GetDlgItem(dialog, id); }
    std::wstring Batch() const { return TextOf(Field(kBatch)); }

    // Replaces the field's text as typing would: everything selected, then the keys.
    void Type(int id, const std::wstring& text) {
        HWND edit = Field(id);
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        ASSERT_TRUE(TypeInto(edit, text.empty() ? std::wstring(1, L'\b') : text, text)) << id;
    }
    void Press(int id) { ::PostMessageW(Field(id), BM_CLICK, 0, 0); }
    // Types the three numbers and presses "Generate".
    void Generate(const std::wstring& start, const std::wstring& end, const std::wstring& increment) {
        Type(kStart, start);
        Type(kEnd, end);
        Type(kIncrement, increment);
        Press(kGenerate);
    }
    // Waits until the batch text equals `expect`.
    bool BatchBecomes(const std::wstring& expect) {
        for (int i = 0; i < 200; ++i) {
            if (Batch() == expect) return true;
            ::Sleep(25);
        }
        return false;
    }
    // The text of the next message box, which is then dismissed by its OK button.
    std::wstring Dismiss(DWORD ms = 5000) {
        HWND box = app.WaitMessageBox(ms);
        if (!box) return L"(no message box)";
        const std::wstring text = TextOf(::GetDlgItem(box, 0xFFFF));
        ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        for (int i = 0; i < 100 && ::IsWindow(box); ++i) ::Sleep(20);
        return text;
    }
    // No message box shows within a moment.
    bool NoMessageBox() { return app.WaitMessageBox(300) == nullptr; }

    // The common file dialog opened by `button`; null when none shows.
    HWND OpenFileDialog(int button) {
        Press(button);
        return app.WaitDialog(cmb1, nullptr, 10000);
    }
    static HWND NameField(HWND files) {
        HWND name = ::GetDlgItem(files, cmb13);
        return name ? name : ::GetDlgItem(files, edt1);
    }
    // Types `text` into the dialog's name field and presses its OK button ("Open"/"Save").
    static void Enter(HWND files, const std::wstring& text) {
        HWND name = NameField(files);
        ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        ::PostMessageW(::GetDlgItem(files, IDOK), BM_CLICK, 0, 0);
    }
    // Types a folder into the name field and presses OK: the dialog then lists that folder.
    static void EnterFolder(HWND files, const std::wstring& folder) {
        Enter(files, folder);
        for (int i = 0; i < 40; ++i) {
            ::Sleep(25);
            ::SendMessageW(files, WM_NULL, 0, 0);
        }
    }
    // Waits until the dialog window is gone and the batch dialog has run its handler.
    bool Closes(HWND files) {
        for (int i = 0; i < 200 && ::IsWindow(files); ++i) ::Sleep(25);
        if (::IsWindow(files)) return false;
        Settle(dialog);
        return true;
    }
    // Imports the file at `path` as a user types it into the open dialog.
    bool Import(const std::wstring& path) {
        HWND files = OpenFileDialog(kImport);
        if (!files) return false;
        Enter(files, path);
        return Closes(files);
    }
    void SetBatch(const std::wstring& text) {
        ::SendMessageW(Field(kBatch), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // The program still runs and its batch dialog answers.
    bool StillRuns() {
        DWORD_PTR answer = 0;
        return app.WaitExit(0) == -1 && ::IsWindow(dialog) &&
               ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 60000, &answer) != 0;
    }
    // Exports the batch through the save dialog into `folder` as `name` with file type
    // `type` (from 1); the name field after the type change is returned.
    std::wstring Export(const std::wstring& folder, const std::wstring& name, int type) {
        HWND files = OpenFileDialog(kExport);
        if (!files) return L"(no save dialog)";
        // Into the folder first, as a user types a folder and presses Save.
        EnterFolder(files, folder);
        HWND name_field = NameField(files);
        ::SendMessageW(name_field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        HWND types = ::GetDlgItem(files, cmb1);
        if (::SendMessageW(types, CB_GETCURSEL, 0, 0) != type - 1) {
            ::SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(type - 1), 0);
            ::SendMessageW(files, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
        }
        const std::wstring shown = TextOf(name_field);
        ::PostMessageW(::GetDlgItem(files, IDOK), BM_CLICK, 0, 0);
        if (!Closes(files)) return L"(save dialog stays)";
        return shown;
    }

    EncoderProcess app;
    HWND main = nullptr;
    HWND dialog = nullptr;
};

std::wstring Records(std::initializer_list<const wchar_t*> records) {
    std::wstring text;
    for (const wchar_t* r : records) text += std::wstring(r) + L"\n\r\n\r";
    return text;
}

TEST_F(BatchDialog, GeneratesTheSequenceOfTheFieldsAsLastTyped) {
    EXPECT_EQ(TextOf(dialog), L"Sequence Manipulation");
    EXPECT_EQ(TextOf(Field(kStart)), L"000001");
    EXPECT_EQ(TextOf(Field(kEnd)), L"000009");
    EXPECT_EQ(TextOf(Field(kIncrement)), L"1");
    EXPECT_EQ(Batch(), L"");
    EXPECT_FALSE(::IsWindowVisible(Field(IDCANCEL)));
    EXPECT_FALSE(::IsWindowEnabled(Field(IDCANCEL)));

    Press(kGenerate);
    EXPECT_TRUE(BatchBecomes(Records({L"000001", L"000002", L"000003", L"000004", L"000005", L"000006",
                                      L"000007", L"000008", L"000009"})))
        << "defaults";
    EXPECT_TRUE(NoMessageBox());

    // Numeric fields first, the suffix and then the prefix last: Generate must see them all.
    Type(kStart, L"08");
    Type(kEnd, L"12");
    Type(kIncrement, L"2");
    Type(kSuffix, L"-X");
    Type(kPrefix, L"AB");
    Press(kGenerate);
    EXPECT_TRUE(BatchBecomes(Records({L"AB08-X", L"AB10-X", L"AB12-X"}))) << "got: " << testing::PrintToString(Batch());

    // Widths differ: the warning, then the sequence at the start's width.
    Type(kPrefix, L"");
    Type(kSuffix, L"");
    Generate(L"1", L"100", L"50");
    EXPECT_EQ(Dismiss(), L"String length does NOT match!");
    EXPECT_TRUE(BatchBecomes(Records({L"1", L"51"})));

    // Refused values leave the batch text as it is.
    Generate(L"5", L"5", L"1");
    EXPECT_EQ(Dismiss(), L"Incorrect Value");
    EXPECT_TRUE(NoMessageBox());
    EXPECT_EQ(Batch(), Records({L"1", L"51"}));

    Generate(L"000001", L"000009", L"0");
    EXPECT_EQ(Dismiss(), L"Incorrect Value");
    EXPECT_EQ(Batch(), Records({L"1", L"51"}));

    // A batch longer than an edit control takes by typing is held whole.
    Generate(L"00001", L"10000", L"1");
    std::wstring many;
    for (int i = 1; i <= 10000; ++i) {
        wchar_t record[16];
        swprintf(record, 16, L"%05d\n\r\n\r", i);
        many += record;
    }
    EXPECT_TRUE(BatchBecomes(many)) << Batch().size();
    Generate(L"5", L"5", L"1");
    EXPECT_EQ(Dismiss(), L"Incorrect Value");
    EXPECT_EQ(Batch().size(), many.size());
    ::SendMessageW(Field(kBatch), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Records({L"1", L"51"}).c_str()));

    // A count the batch text cannot hold is refused, never wrapped around.
    Generate(L"0000000000", L"2147483647", L"1");
    EXPECT_EQ(Dismiss(), L"Too many records for the batch text.");
    EXPECT_EQ(Batch(), Records({L"1", L"51"}));

    // Reset empties the batch, also after typing into it.
    ::SendMessageW(Field(kBatch), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed"));
    Press(kReset);
    EXPECT_TRUE(BatchBecomes(L""));
    EXPECT_EQ(TextOf(Field(kStart)), L"0000000000");
}

TEST_F(BatchDialog, ImportsATextFileChosenInTheOpenDialog) {
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"kestrivo_batch_import.txt";
    {
        std::ofstream file(std::filesystem::path(path), std::ios::binary);
        file << "First\r\nsecond line\r\n\r\nB&<\nlast";  // the last record has no empty line after it
    }
    ::SendMessageW(Field(kBatch), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"old\n\r\n\r"));
    HWND files = OpenFileDialog(kImport);
    ASSERT_NE(files, nullptr);
    Enter(files, path);
    ASSERT_TRUE(Closes(files));
    EXPECT_TRUE(BatchBecomes(L"First\n\rsecond line\n\r\n\rB&<\n\rlast\n\r\n\r"))
        << testing::PrintToString(Batch());
    ::DeleteFileW(path.c_str());

    // Several files chosen at once are read in order, each one's records after the last's.
    const std::wstring folder = std::wstring(temp) + L"kestrivo_batch_files";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::ofstream(std::filesystem::path(folder + L"\\one.txt"), std::ios::binary) << "one\r\n\r\n";
    std::ofstream(std::filesystem::path(folder + L"\\two.txt"), std::ios::binary) << "two\r\n\r\n2b\r\n";
    files = OpenFileDialog(kImport);
    ASSERT_NE(files, nullptr);
    EnterFolder(files, folder);
    Enter(files, L"\"one.txt\" \"two.txt\"");
    ASSERT_TRUE(Closes(files));
    EXPECT_TRUE(BatchBecomes(L"one\n\r\n\rtwo\n\r\n\r2b\n\r\n\r")) << testing::PrintToString(Batch());
    ::DeleteFileW((folder + L"\\one.txt").c_str());
    ::DeleteFileW((folder + L"\\two.txt").c_str());
    ::RemoveDirectoryW(folder.c_str());

    // Cancel keeps the batch.
    files = OpenFileDialog(kImport);
    ASSERT_NE(files, nullptr);
    ::PostMessageW(::GetDlgItem(files, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(Closes(files));
    EXPECT_EQ(Batch(), L"one\n\r\n\rtwo\n\r\n\r2b\n\r\n\r");
}

TEST_F(BatchDialog, ExportsTxtByteForByteFromTheBatchAsTyped) {
    Road road;
    ASSERT_TRUE(ChooseEntry(app.Pane(), kSymbology, L"QR Code"));
    const std::wstring folder = ExportDir();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\batch.txt";
    ::DeleteFileW(file.c_str());
    // The batch text set as typed (no notification reaches the dialog): Export reads it.
    const std::wstring batch = L"HELLO\n\r\n\rTom & Jerry\n\r\n\rnot a record";
    ::SendMessageW(Field(kBatch), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(batch.c_str()));
    EXPECT_EQ(Export(folder, L"Batch.txt", 1), L"Batch.txt");
    EXPECT_EQ(StoredName(file), L"batch.txt") << "the path is written in lower case";
    std::u16string expect = u"Please apply font typeface to the following codewords to get bar codes.\r\n\r\n\r\n\r\n";
    for (std::u16string_view record : {u"HELLO", u"Tom & Jerry"}) {
        const std::u16string font = road(u"QR Code", record);
        ASSERT_NE(font.find(u'\n'), std::u16string::npos);
        for (char16_t c : font) {
            if (c == u'\n') expect += u'\r';
            expect += c;
        }
        expect += u"\r\n\r\n";
    }
    EXPECT_EQ(FileBytes(file), Utf16Bytes(expect));
    ::DeleteFileW(file.c_str());
}

// Writes the expectation of one exported document for the reader: per line the zxing-cpp
// format name and the record's data.
void WriteExpectation(const std::wstring& path, const std::vector<std::pair<std::string, std::string>>& symbols) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    for (const auto& [format, data] : symbols) out << format << '\t' << data << '\n';
}

TEST_F(BatchDialog, ExportsXslFoDocumentsForTheReader) {
    Road road;
    const std::wstring folder = ExportDir();
    ::CreateDirectoryW(folder.c_str(), nullptr);

    // A matrix symbology, data with the characters XML reserves.
    ASSERT_TRUE(ChooseEntry(app.Pane(), kSymbology, L"QR Code"));
    const std::wstring qrFile = folder + L"\\batch.xml";
    ::DeleteFileW(qrFile.c_str());
    ::SendMessageW(Field(kBatch), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"Tom & Jerry <1>\n\r\n\rKestrivo 2\n\r\n\r"));
    EXPECT_EQ(Export(folder, L"Batch.txt", 2), L"Batch.xml") << "the type change gives the name its extension";
    const std::string qr = FileBytes(qrFile);
    ASSERT_FALSE(qr.empty()) << "no batch.xml";
    EXPECT_EQ(qr.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(StoredName(qrFile), L"batch.xml");
    WriteExpectation(folder + L"\\batch.expect", {{"QRCode", "Tom & Jerry <1>"}, {"QRCode", "Kestrivo 2"}});

    // A linear symbology.
    ASSERT_TRUE(ChooseEntry(app.Pane(), kSymbology, L"Code 39"));
    ::SendMessageW(Field(kBatch), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"KESTRIVO-42\n\r\n\r"));
    EXPECT_EQ(Export(folder, L"code39.xml", 2), L"code39.xml");
    WriteExpectation(folder + L"\\code39.expect", {{"Code39", "KESTRIVO-42"}});

    // The Code 128 rows' font texts hold control characters (24 to 27), which only XML 1.1
    // carries, as character references: each cell is written whole and reads back.
    struct Code128Row {
        const wchar_t* row;
        const wchar_t* file;
        std::vector<std::wstring> records;
        std::vector<std::pair<std::string, std::string>> read;
    };
    const Code128Row rows[] = {
        {L"Code128A", L"code128a", {L"KESTRIVO-42"}, {{"Code128", "KESTRIVO-42"}}},
        {L"Code128B", L"code128b", {L"Kestrivo", L"K2"}, {{"Code128", "Kestrivo"}, {"Code128", "K2"}}},
        {L"Code128C", L"code128c", {L"12345678"}, {{"Code128", "12345678"}}},
        {L"GS1-128", L"gs1_128", {L"(00)350123451234567894"}, {{"Code128", "00350123451234567894"}}},
        // The encoder adds the mod 10 check digit (3).
        {L"USPS-128", L"usps_128", {L"910112345678900000001"}, {{"Code128", "9101123456789000000013"}}},
    };
    for (const Code128Row& row : rows) {
        ASSERT_TRUE(ChooseEntry(app.Pane(), kSymbology, row.row));
        std::wstring batch;
        for (const std::wstring& record : row.records) batch += record + L"\n\r\n\r";
        ASSERT_TRUE(desktop::HoldsCharacterXmlCannotCarry(road(U16(row.row), U16(row.records[0]))));
        ::SendMessageW(Field(kBatch), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(batch.c_str()));
        const std::wstring name = std::wstring(row.file) + L".xml";
        ::DeleteFileW((folder + L"\\" + name).c_str());
        EXPECT_EQ(Export(folder, name, 2), name);
        const std::string doc = FileBytes(folder + L"\\" + name);
        EXPECT_TRUE(doc.starts_with(Utf16Bytes(u"<?xml version=\"1.1\" encoding=\"utf-16\"?>\n"))) << name.c_str();
        EXPECT_TRUE(NoMessageBox());
        EXPECT_EQ(TextOf(::GetDlgItem(main, kMessageLine)), L"");
        WriteExpectation(folder + L"\\" + row.file + L".expect", row.read);
    }
}

// --- Large batches: the work goes on with the windows responsive, its progress shown, and
// "Cancel" puts everything back.

constexpr int kProgressLine = IDC_PROGRESS_LINE, kProgressBar = IDC_PROGRESS_BAR;

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD until = ::GetTickCount() + ms;
    while (!done()) {
        if (static_cast<int>(::GetTickCount() - until) >= 0) return false;
        ::Sleep(25);
    }
    return true;
}

// The record `i` of the generated large files and batches.
std::wstring LargeRecord(int i) {
    wchar_t record[32];
    std::swprintf(record, 32, L"KESTRIVO-%07d", i);
    return record;
}

// A text file of `count` records, each line followed by an empty line; its path.
std::wstring WriteLargeFile(const wchar_t* name, int count) {
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + name;
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        const std::wstring record = LargeRecord(i);
        bytes.append(record.begin(), record.end());
        bytes += "\r\n\r\n";
    }
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
    return path;
}

// The batch text of the first `count` records.
std::wstring LargeBatchText(int count) {
    std::wstring batch;
    for (int i = 0; i < count; ++i) batch += LargeRecord(i) + L"\n\r\n\r";
    return batch;
}

class LargeBatch : public BatchDialog {
protected:
    // The progress window over the batch dialog, found within `ms`.
    HWND WaitProgress(DWORD ms) { return app.WaitDialog(kProgressBar, L"Sequence Manipulation", ms); }
    // The batch dialog answers a message sent to it (it is not stuck in its work).
    bool Answers() {
        DWORD_PTR result = 0;
        return ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &result) != 0;
    }
    // Clicks the progress window's "Cancel" with the real mouse.
    void ClickCancel(HWND progress) {
        HWND cancel = ::GetDlgItem(progress, IDCANCEL);
        RECT r{};
        ::GetWindowRect(cancel, &r);
        const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        Mouse(MOUSEEVENTF_MOVE, at.x, at.y);
        ASSERT_TRUE(WaitUntil([&] { return ::WindowFromPoint(at) == cancel; }, 5000)) << "Cancel is covered";
        Mouse(MOUSEEVENTF_LEFTDOWN);
        Mouse(MOUSEEVENTF_LEFTUP);
    }
    // Checks what the user sees of the progress while the work goes on: the line, the bar
    // moving on, and its picture filled from the left as far as the bar's position says.
    void ExpectProgressShown(HWND progress, const std::wstring& work, const std::wstring& total) {
        HWND line = ::GetDlgItem(progress, kProgressLine), bar = ::GetDlgItem(progress, kProgressBar);
        EXPECT_TRUE(::IsWindowVisible(progress));
        const auto lineShown = [&] {
            const std::wstring text = TextOf(line);
            return text.starts_with(work + L": ") && text.ends_with(L" of " + total);
        };
        EXPECT_TRUE(WaitUntil(lineShown, 30000)) << "line: " << testing::PrintToString(TextOf(line));
        const LRESULT first = ::SendMessageW(bar, PBM_GETPOS, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(bar, PBM_GETPOS, 0, 0) > first; }, 30000))
            << "the bar does not move on from " << first;
        EXPECT_FALSE(::IsWindowEnabled(dialog)) << "the batch dialog takes input while it works";
        EXPECT_TRUE(Answers()) << "the batch dialog does not answer while it works";

        // The picture: filled from the left as far as the position says, light beyond.
        // Taken from the progress window (a picture of a control alone comes out black).
        RECT outer{}, area{};
        ::GetWindowRect(progress, &outer);
        ::GetWindowRect(bar, &area);
        ::OffsetRect(&area, -outer.left, -outer.top);
        ::InflateRect(&area, -2, -2);  // inside the border
        ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(bar, PBM_GETPOS, 0, 0) >= 150; }, 60000));
        const LRESULT before = ::SendMessageW(bar, PBM_GETPOS, 0, 0);
        const testing_support::Image image = Capture(progress, area);
        const LRESULT after = ::SendMessageW(bar, PBM_GETPOS, 0, 0);
        ASSERT_GT(image.width, 100);
        const int y = image.height / 2;
        const auto grey = [&](int x) { return int(image.pixels[std::size_t(y) * std::size_t(image.width) + std::size_t(x)]); };
        const int background = grey(image.width - 1);
        EXPECT_GT(background, 200) << "the empty part of the bar is not light";
        int filled = 0;
        while (filled < image.width && std::abs(grey(filled) - background) > 40) ++filled;
        const int tolerance = image.width / 20 + 3;
        EXPECT_GE(filled, static_cast<int>(image.width * before / 1000) - tolerance) << "position " << before;
        EXPECT_LE(filled, static_cast<int>(image.width * after / 1000) + tolerance) << "position " << after;
    }
};

TEST_F(LargeBatch, AnImportShowsItsProgressAndCancelPutsTheBatchBack) {
    const std::wstring path = WriteLargeFile(L"kestrivo_large_cancel.txt", 300000);
    const std::wstring before = L"old\n\r\n\r";
    ::SendMessageW(Field(kBatch), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(before.c_str()));
    HWND files = OpenFileDialog(kImport);
    ASSERT_NE(files, nullptr);
    Enter(files, path);
    HWND progress = WaitProgress(60000);
    ASSERT_NE(progress, nullptr) << "no progress window";
    ExpectProgressShown(progress, L"Importing", L"300,000 records");
    ClickCancel(progress);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(progress); }, 60000)) << "Cancel does not end the import";
    EXPECT_TRUE(BatchBecomes(before)) << Batch().size() << " units";
    EXPECT_TRUE(::IsWindowEnabled(dialog));
    EXPECT_TRUE(::IsWindowVisible(Field(kBatch)));
    EXPECT_TRUE(NoMessageBox());
    ::DeleteFileW(path.c_str());
}

TEST_F(LargeBatch, AnImportRunsToTheEndAndItsExportIsWhole) {
    constexpr int kCount = 100000;
    const std::wstring path = WriteLargeFile(L"kestrivo_large_whole.txt", kCount);
    HWND files = OpenFileDialog(kImport);
    ASSERT_NE(files, nullptr);
    Enter(files, path);
    HWND progress = WaitProgress(60000);
    ASSERT_NE(progress, nullptr) << "no progress window";
    ExpectProgressShown(progress, L"Importing", L"100,000 records");
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(progress); }, 300000)) << "the import does not end";
    const std::wstring expect = LargeBatchText(kCount);
    EXPECT_TRUE(Batch() == expect) << Batch().size() << " units, want " << expect.size();
    EXPECT_TRUE(::IsWindowEnabled(dialog));
    EXPECT_TRUE(::IsWindowVisible(Field(kBatch)));
    // The field shows its first line, as a text set at once does.
    EXPECT_EQ(::SendMessageW(Field(kBatch), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    ::DeleteFileW(path.c_str());

    // The whole batch exported as TXT, byte for byte.
    Road road;
    ASSERT_TRUE(ChooseEntry(app.Pane(), kSymbology, L"Code 39"));
    const std::wstring folder = ExportDir();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\large.txt";
    ::DeleteFileW(file.c_str());
    std::u16string text = u"Please apply font typeface to the following codewords to get bar codes.\r\n\r\n\r\n\r\n";
    for (int i = 0; i < kCount; ++i) text += road(u"Code 39", U16(LargeRecord(i))) + u"\r\n\r\n";
    const std::string bytes = Utf16Bytes(text);
    EXPECT_EQ(Export(folder, L"large.txt", 1), L"large.txt");
    EXPECT_TRUE(WaitUntil([&] { return FileBytes(file).size() == bytes.size(); }, 300000));
    EXPECT_TRUE(FileBytes(file) == bytes) << "the exported file differs";
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(dialog) != FALSE; }, 10000));
    ::DeleteFileW(file.c_str());
}

TEST_F(LargeBatch, AnExportShowsItsProgressAndCancelLeavesTheFileAsItWas) {
    constexpr int kCount = 100000;
    // The batch generated by the dialog: "KESTRIVO-0000000" and on.
    const std::wstring batch = LargeBatchText(kCount);
    Type(kPrefix, L"KESTRIVO-");
    Generate(L"0000000", L"0099999", L"1");
    ASSERT_TRUE(WaitUntil([&] { return Batch().size() == batch.size(); }, 300000)) << Batch().size();
    ASSERT_TRUE(ChooseEntry(app.Pane(), kSymbology, L"QR Code"));
    const std::wstring folder = ExportDir();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\earlier.txt";
    std::ofstream(std::filesystem::path(file), std::ios::binary) << "an earlier file";
    EXPECT_EQ(Export(folder, L"earlier.txt", 1), L"earlier.txt");
    HWND progress = WaitProgress(60000);
    ASSERT_NE(progress, nullptr) << "no progress window";
    ExpectProgressShown(progress, L"Exporting", L"100,000 records");
    // While the export runs, the Options pane takes no input either.
    EXPECT_FALSE(::IsWindowEnabled(app.Pane()));
    ClickCancel(progress);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(progress); }, 60000)) << "Cancel does not end the export";
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(dialog) != FALSE; }, 10000));
    EXPECT_TRUE(::IsWindowEnabled(app.Pane()));
    EXPECT_EQ(FileBytes(file), "an earlier file");
    EXPECT_TRUE(NoMessageBox());
    EXPECT_EQ(Batch().size(), batch.size());
    ::DeleteFileW(file.c_str());
}

TEST_F(LargeBatch, AGenerateShowsItsProgressAndCancelLeavesTheBatchAsItWas) {
    const std::wstring before = L"old\n\r\n\r";
    SetBatch(before);
    Generate(L"000001", L"1000000", L"1");
    EXPECT_EQ(Dismiss(), L"String length does NOT match!");
    HWND progress = WaitProgress(5000);
    ASSERT_NE(progress, nullptr) << "no progress window within five seconds";
    ExpectProgressShown(progress, L"Generating", L"1,000,000 records");
    ClickCancel(progress);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(progress); }, 60000)) << "Cancel does not end the generation";
    EXPECT_TRUE(BatchBecomes(before)) << Batch().size() << " units";
    EXPECT_TRUE(::IsWindowEnabled(dialog));
    EXPECT_TRUE(::IsWindowVisible(Field(kBatch)));
    EXPECT_TRUE(NoMessageBox());

    // A smaller sequence runs to the end and fills the field whole, its first line shown.
    std::wstring expect;
    for (int i = 1; i <= 100000; ++i) {
        wchar_t record[16];
        std::swprintf(record, 16, L"%06d\n\r\n\r", i);
        expect += record;
    }
    Generate(L"000001", L"100000", L"1");
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(dialog) && Batch().size() == expect.size(); }, 300000))
        << Batch().size() << " units, want " << expect.size();
    EXPECT_TRUE(Batch() == expect);
    EXPECT_TRUE(::IsWindowVisible(Field(kBatch)));
    EXPECT_EQ(::SendMessageW(Field(kBatch), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_TRUE(NoMessageBox());
}

}  // namespace

namespace {

std::wstring TempFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + name;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring W(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

TEST_F(BatchDialog, AnImportThatCannotReadItsFileSaysSoAndKeepsTheBatch) {
    const std::wstring kept = L"kept\n\r\n\r";
    SetBatch(kept);
    const std::wstring missing = TempFolder(L"kestrivo_import") + L"\\no such file.txt";
    ::DeleteFileW(missing.c_str());
    ASSERT_TRUE(Import(missing));
    EXPECT_EQ(Dismiss(), W(desktop::ImportOpenFailed(desktop::Utf16(missing))));
    EXPECT_EQ(Batch(), kept);

    // A file that opens and then cannot be read.
    const std::wstring unreadable = WindowsPath(L"" KESTRIVO_HOSTILE_DIR) + L"\\unreadable.txt";
    ASSERT_NE(::GetFileAttributesW(unreadable.c_str()), INVALID_FILE_ATTRIBUTES) << "hostile_files.sh did not run";
    ASSERT_TRUE(Import(unreadable));
    EXPECT_EQ(Dismiss(), W(desktop::ImportReadFailed(desktop::Utf16(unreadable))));
    EXPECT_EQ(Batch(), kept);
    EXPECT_TRUE(NoMessageBox());
}

TEST_F(BatchDialog, ImportsANameInAnyCaseAndNamesAKindItCannotRead) {
    const std::wstring folder = TempFolder(L"kestrivo_import_names");
    WriteBytes(folder + L"\\RECORDS.TXT", "UPPER\r\n\r\nCASE\r\n\r\n");
    WriteBytes(folder + L"\\Mixed.Txt", "mixed\r\n\r\n");
    WriteBytes(folder + L"\\one.txt", "one\r\n\r\n");
    WriteBytes(folder + L"\\records.csv", "csv\r\n\r\n");
    const std::wstring kept = L"kept\n\r\n\r";
    SetBatch(kept);
    ASSERT_TRUE(Import(folder + L"\\RECORDS.TXT"));
    EXPECT_TRUE(BatchBecomes(L"UPPER\n\r\n\rCASE\n\r\n\r")) << testing::PrintToString(Batch());
    EXPECT_TRUE(NoMessageBox());
    ASSERT_TRUE(Import(folder + L"\\Mixed.Txt"));
    EXPECT_TRUE(BatchBecomes(L"mixed\n\r\n\r")) << testing::PrintToString(Batch());
    EXPECT_TRUE(NoMessageBox());

    // Any other name: the message says which kinds the import reads; the batch stays.
    SetBatch(kept);
    const std::wstring csv = folder + L"\\records.csv";
    ASSERT_TRUE(Import(csv));
    EXPECT_EQ(Dismiss(), W(desktop::ImportUnknownKind({desktop::Utf16(csv)})));
    EXPECT_EQ(Batch(), kept);
    EXPECT_TRUE(NoMessageBox());

    // Chosen with a text file: nothing is read, and only the name it cannot read is named.
    HWND files = OpenFileDialog(kImport);
    ASSERT_NE(files, nullptr);
    EnterFolder(files, folder);
    Enter(files, L"\"one.txt\" \"records.csv\"");
    ASSERT_TRUE(Closes(files));
    const std::wstring message = Dismiss();
    EXPECT_TRUE(message.starts_with(L"Cannot import the file ")) << testing::PrintToString(message);
    EXPECT_TRUE(message.ends_with(L"\\records.csv: the import reads text files (.txt) and spreadsheets (.xls). "
                                  L"The batch is unchanged."))
        << testing::PrintToString(message);
    EXPECT_EQ(message.find(L"one.txt"), std::wstring::npos);
    EXPECT_EQ(Batch(), kept);
    EXPECT_TRUE(NoMessageBox());
    for (const wchar_t* name : {L"RECORDS.TXT", L"Mixed.Txt", L"one.txt", L"records.csv"})
        ::DeleteFileW((folder + L"\\" + name).c_str());
}

TEST_F(BatchDialog, ImportsItsOwnTxtExportAndMarkedFilesAndAnsiFilesAsBefore) {
    Road road;
    const std::wstring folder = TempFolder(L"kestrivo_import");
    ASSERT_TRUE(ChooseEntry(app.Pane(), kSymbology, L"Code 39"));
    SetBatch(L"KESTRIVO\n\r\n\rA-1\n\r\n\r");
    EXPECT_EQ(Export(folder, L"own.txt", 1), L"own.txt");
    // Every line of the export is a line of the batch: the heading, three empty lines, then
    // each font text and an empty line.
    std::wstring expect = L"Please apply font typeface to the following codewords to get bar codes.\n\r\n\r\n\r\n\r";
    for (std::u16string_view record : {u"KESTRIVO", u"A-1"}) {
        const std::u16string font = road(u"Code 39", record);
        ASSERT_FALSE(font.empty());
        ASSERT_EQ(font.find(u'\n'), std::u16string::npos);
        expect += W(font) + L"\n\r\n\r";
    }
    ASSERT_TRUE(Import(folder + L"\\own.txt"));
    EXPECT_TRUE(BatchBecomes(expect)) << testing::PrintToString(Batch());

    // UTF-8 with its mark: read as UTF-8, and the export encodes the characters themselves.
    WriteBytes(folder + L"\\utf8.txt", "\xEF\xBB\xBFKestrivo \xC3\xA9\xE2\x82\xAC\r\n\r\n\xE4\xB8\xAD\xE6\x96\x87\n");
    ASSERT_TRUE(Import(folder + L"\\utf8.txt"));
    EXPECT_TRUE(BatchBecomes(L"Kestrivo \u00E9\u20AC\n\r\n\r\u4E2D\u6587\n\r\n\r")) << testing::PrintToString(Batch());
    ASSERT_TRUE(ChooseEntry(app.Pane(), kSymbology, L"QR Code"));
    const std::wstring exported = ExportDir() + L"\\imported.txt";
    ::CreateDirectoryW(ExportDir().c_str(), nullptr);
    ::DeleteFileW(exported.c_str());
    EXPECT_EQ(Export(ExportDir(), L"imported.txt", 1), L"imported.txt");
    std::u16string file = u"Please apply font typeface to the following codewords to get bar codes.\r\n\r\n\r\n\r\n";
    for (std::u16string_view record : {u"Kestrivo \u00E9\u20AC", u"\u4E2D\u6587"}) {
        for (char16_t c : road(u"QR Code", record)) {
            if (c == u'\n') file += u'\r';
            file += c;
        }
        file += u"\r\n\r\n";
    }
    EXPECT_EQ(FileBytes(exported), Utf16Bytes(file));

    // UTF-16 with its mark, LF line ends, a line longer than 4,096 characters, no final end.
    const std::u16string longLine(5000, u'\u0416');
    WriteBytes(folder + L"\\utf16.txt", Utf16Bytes(u"A\n\n" + longLine + u"\n\n\u00E9"));
    ASSERT_TRUE(Import(folder + L"\\utf16.txt"));
    EXPECT_TRUE(BatchBecomes(L"A\n\r\n\r" + W(longLine) + L"\n\r\n\r\u00E9\n\r\n\r")) << Batch().size();

    // Without a mark the bytes are text in the ANSI code page, as they always were.
    const std::string ansi = "\xE9t\xE9 \x80\r\n\r\nEF BB\xEF\xBB\r\n";
    WriteBytes(folder + L"\\ansi.txt", ansi);
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                                                wide.data(), static_cast<int>(wide.size()))));
    std::wstring ansiBatch;
    for (std::size_t at = 0, lf; (lf = wide.find(L'\n', at)) != std::wstring::npos; at = lf + 1)
        ansiBatch += wide.substr(at, lf - at - 1) + L"\n\r";  // every line ends CR LF here
    ASSERT_TRUE(Import(folder + L"\\ansi.txt"));
    EXPECT_TRUE(BatchBecomes(ansiBatch + L"\n\r")) << testing::PrintToString(Batch());
    EXPECT_EQ(ansiBatch.substr(0, 5), L"\u00E9t\u00E9 \u20AC") << "the tests expect code page 1252";
    EXPECT_TRUE(NoMessageBox());
}

// A file of `size` bytes from a fixed seed, without the bytes of `without`.
std::string RandomBytes(std::size_t size, unsigned seed, std::string_view without = {}) {
    std::string bytes;
    std::uint32_t state = seed;
    while (bytes.size() < size) {
        state = state * 1664525u + 1013904223u;
        const char c = static_cast<char>(state >> 24);
        if (without.find(c) == std::string_view::npos) bytes += c;
    }
    return bytes;
}

std::string Le(std::u16string_view text) { return Utf16Bytes(text).substr(2); }

TEST_F(BatchDialog, ImportsHostileFilesWithoutCrashing) {
    std::ifstream crashFile(std::filesystem::path(WindowsPath(L"" KESTRIVO_TEST_DATA_DIR) + L"\\import-crash.bin"),
                            std::ios::binary);
    const std::string crash{std::istreambuf_iterator<char>(crashFile), std::istreambuf_iterator<char>()};
    ASSERT_EQ(crash.size(), 300000u);
    std::string controls;
    for (int c = 1; c < 32; ++c) controls += {static_cast<char>(c), 'x', static_cast<char>(c), '\r', '\n'};
    controls += "\x7F\r\r\n\n\r\r\n";
    std::string records;
    while (records.size() < 600000) records += "00000000\r\n\r\n";
    std::string hugeWithNul(20 << 20, 'A');
    for (std::size_t i = 79; i < hugeWithNul.size(); i += 80) hugeWithNul[i] = '\n';
    hugeWithNul[hugeWithNul.size() - 10] = '\0';
    // Every UTF-16 unit the field is given at the start of a line and after a digit, but for
    // those that Wine's shaping fails on there (after a letter of their script instead).
    std::u16string every;
    for (char32_t c = 1; c <= 0xFFFF; ++c) {
        const auto unit = static_cast<char16_t>(c);
        if (unit == u'\n' || unit == u'\r' || desktop::FieldCannotShow(unit)) continue;
        if (desktop::FailsFirstInRun(unit))
            every += {unit >= 0x0E80 ? u'\u0E81' : u'a', unit, u'\r', u'\n'};
        else
            every += {unit, u'1', unit, u'\r', u'\n'};
    }
    const std::vector<std::pair<std::wstring, std::string>> corpus = {
        {L"crash", crash},  // U+02DC (byte 98) first on a line: Wine's text shaping failed on it
        {L"random", RandomBytes(300000, 1)},
        {L"random-text", RandomBytes(300000, 2, std::string_view("\0\x88\x98", 3))},
        {L"controls", controls},
        {L"surrogates", "\xFF\xFE" + Le(u"A\xD800" u"B\xDC00\xDBFF\r\n\xDFFF\n\xD800")},
        {L"utf8-malformed", "\xEF\xBB\xBF" "A\x80\xC3\r\n\xF4\x90\x80\x80\xED\xA0\x80\n"},
        {L"longest-line", std::string(desktop::kLongestFieldLine, 'x') + "\r\n"},
        {L"long-line", std::string(1000000, 'x')},
        {L"nuls", std::string("AB\0CD\r\n\0\r\n", 10)},
        {L"png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)},
        {L"records", records},
        {L"huge-with-nul", hugeWithNul},
        {L"modifier-after-control", "\x01\x98\r\n"},
        {L"every-character", "\xFF\xFE" + Le(every)},
    };
    const std::wstring folder = TempFolder(L"kestrivo_hostile");
    struct : desktop::WindowsPlatform {
        void SetMessageLine(std::u16string_view) override {}
    } platform;
    int refused = 0, imported = 0;
    for (const auto& [name, bytes] : corpus) {
        SCOPED_TRACE(testing::PrintToString(name));
        const std::wstring path = folder + L"\\" + name + L".txt";
        WriteBytes(path, bytes);
        const std::wstring before = L"before\n\r\n\r";
        SetBatch(before);
        std::u16string expect;
        ASSERT_TRUE(desktop::ImportText(platform, bytes, expect));
        ASSERT_TRUE(Import(path));
        // A long import lets the windows run while it reads and fills the field: it has ended
        // when a message box asks or the dialog takes input again.
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(dialog) || app.WaitMessageBox(0); }, 120000));
        if (const auto fault = desktop::FirstFieldFault(expect, true)) {
            EXPECT_EQ(Dismiss(60000), W(desktop::ImportNotShowable(desktop::Utf16(path), *fault)));
            EXPECT_EQ(Batch(), before);
            ++refused;
        } else {
            Settle(dialog);
            EXPECT_EQ(Batch(), W(expect));
            EXPECT_TRUE(NoMessageBox());
            ++imported;
        }
        ASSERT_TRUE(StillRuns());
        ::DeleteFileW(path.c_str());
    }
    // The corpus holds both kinds, and the crashing file is among the refused.
    EXPECT_EQ(refused, 7);
    EXPECT_EQ(imported, 7);
}

void ControlKey(WORD vk) {
    INPUT in[4]{};
    for (INPUT& i : in) i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[3].ki.wVk = VK_CONTROL;
    in[1].ki.wVk = in[2].ki.wVk = vk;
    in[2].ki.dwFlags = in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(4, in, sizeof in[0]);
    ::Sleep(40);
}

TEST_F(BatchDialog, ModifierLettersAndLaoMarksTypedOrPastedFirstOnALineAreShownOrRefusedByName) {
    HWND batch = Field(kBatch);
    // The batch field takes the keyboard from a real click.
    RECT r{};
    ::GetWindowRect(batch, &r);
    Mouse(MOUSEEVENTF_MOVE, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    Settle(dialog);
    const std::wstring before = L"A\r\n";
    // The circumflex and the Lao vowel sign I are shown first on a line; the tilde, the Lao
    // vowel sign U and the tone mark MAI EK are refused there under Wine, with their names.
    for (const wchar_t c : {L'\u02C6', L'\u02DC', L'\u0EB8', L'\u0EC8', L'\u0EB4'}) {
        for (const bool paste : {false, true}) {
            SCOPED_TRACE(testing::Message() << std::hex << static_cast<int>(c) << (paste ? " pasted" : " typed"));
            SetBatch(before);
            ::SendMessageW(batch, EM_SETSEL, 3, 3);  // the start of the second line
            if (paste) {
                ASSERT_TRUE(PutOnClipboard(std::wstring(1, c)));
                ControlKey('V');
            } else {
                TypeUnicodeKey(c);
            }
            if (desktop::FailsFirstInRun(static_cast<char16_t>(c))) {
                EXPECT_EQ(Dismiss(), W(desktop::ShapingRefused(static_cast<char16_t>(c))));
                ASSERT_TRUE(StillRuns());
                EXPECT_EQ(Batch(), before);
            } else {
                EXPECT_TRUE(BatchBecomes(before + c)) << "shown: " << testing::PrintToString(Batch());
                EXPECT_TRUE(NoMessageBox());
            }
            ASSERT_TRUE(StillRuns());
        }
    }
    // After a letter of their script they are shown, typed and pasted.
    SetBatch(before);
    ::SendMessageW(batch, EM_SETSEL, 3, 3);
    for (const wchar_t c : std::wstring(L"x\u02DC\u0E81\u0EB8\u0EC8")) TypeUnicodeKey(c);
    ASSERT_TRUE(PutOnClipboard(L" y\u02DC\u0E81\u0EC8"));
    ControlKey('V');
    EXPECT_TRUE(BatchBecomes(before + L"x\u02DC\u0E81\u0EB8\u0EC8 y\u02DC\u0E81\u0EC8")) << testing::PrintToString(Batch());
    EXPECT_TRUE(NoMessageBox());
    // Deleting the letter before a tilde would leave it first: refused too.
    SetBatch(L"x\u02DC");
    ::SendMessageW(batch, EM_SETSEL, 1, 1);
    TypeUnicodeKey(L'\b');
    EXPECT_EQ(Dismiss(), W(desktop::ShapingRefused(0x02DC)));
    EXPECT_EQ(Batch(), L"x\u02DC");
    ASSERT_TRUE(StillRuns());
}

TEST_F(BatchDialog, FilesWithModifierLettersAndLaoMarksInsideRecordsComeInWhole) {
    const std::wstring folder = TempFolder(L"kestrivo_shaping");
    const std::u16string inside = u"Ma\u02C6\u02DCna \u02DC\r\n\r\n\u0E81\u0EB8\u0EC8 \u0EB8\r\n\u02C6x\r\n";
    const std::wstring shown = L"Ma\u02C6\u02DCna \u02DC\n\r\n\r\u0E81\u0EB8\u0EC8 \u0EB8\n\r\u02C6x\n\r\n\r";
    struct File {
        const wchar_t* name;
        std::string bytes;
    };
    // Windows-1252 (88 is the circumflex, 98 the small tilde), UTF-8 and UTF-16.
    const std::vector<File> whole = {
        {L"cp1252.txt", "Ma\x88\x98na \x98\r\n\r\n\x88x\r\n"},
        {L"utf8.txt", "\xEF\xBB\xBF" + encoding::ToUtf8(inside)},
        {L"utf16.txt", Utf16Bytes(inside)},
    };
    for (const File& file : whole) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(file.name)));
        const std::wstring path = folder + L"\\" + file.name;
        WriteBytes(path, file.bytes);
        SetBatch(L"before\n\r\n\r");
        ASSERT_TRUE(Import(path));
        const std::wstring expect = file.name == std::wstring(L"cp1252.txt") ? L"Ma\u02C6\u02DCna \u02DC\n\r\n\r\u02C6x\n\r\n\r" : shown;
        EXPECT_TRUE(BatchBecomes(expect)) << testing::PrintToString(Batch());
        EXPECT_TRUE(NoMessageBox());
        ASSERT_TRUE(StillRuns());
        ::DeleteFileW(path.c_str());
    }
    // First in a record: the circumflex comes in; the tilde and the Lao marks are refused under
    // Wine, with the line and the character named, and the batch is kept.
    const std::vector<std::pair<File, std::u16string>> first = {
        {{L"cp1252-first.txt", "\x88" "A\r\n\r\n\x98" "B\r\n"}, u"line 3 holds the character U+02DC"},
        {{L"utf8-first.txt", "\xEF\xBB\xBF" "A\r\n\xE0\xBA\xB8\r\n"}, u"line 2 holds the character U+0EB8"},
        {{L"utf16-first.txt", Utf16Bytes(u"\u02C6\r\n\r\n\u0EC8\u0E81\r\n")}, u"line 3 holds the character U+0EC8"},
    };
    for (const auto& [file, named] : first) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(file.name)));
        const std::wstring path = folder + L"\\" + file.name;
        WriteBytes(path, file.bytes);
        SetBatch(L"before\n\r\n\r");
        ASSERT_TRUE(Import(path));
        const std::wstring message = Dismiss(10000);
        EXPECT_NE(message.find(W(named)), std::wstring::npos) << testing::PrintToString(message);
        EXPECT_EQ(Batch(), L"before\n\r\n\r");
        ASSERT_TRUE(StillRuns());
        ::DeleteFileW(path.c_str());
    }
}

TEST_F(BatchDialog, AnExportThatCannotWriteSaysSoAndKeepsTheEarlierFile) {
    ASSERT_TRUE(ChooseEntry(app.Pane(), kSymbology, L"Code 39"));
    Generate(L"0001", L"2000", L"1");
    for (int i = 0; i < 200 && Batch().size() != 2000 * 8; ++i) ::Sleep(25);
    ASSERT_EQ(Batch().size(), 2000u * 8) << "0001 to 2000 are not generated";

    // A folder nobody can write into, typed with the name.
    HWND files = OpenFileDialog(kExport);
    ASSERT_NE(files, nullptr);
    Enter(files, L"Z:\\sys\\Batch.txt");
    ASSERT_TRUE(Closes(files));
    EXPECT_EQ(Dismiss(), W(desktop::ExportWriteFailed(u"z:\\sys\\batch.txt")));

    // An export written whole replaces the earlier file.
    const std::wstring folder = TempFolder(L"kestrivo_export");
    WriteBytes(folder + L"\\batch.txt", "earlier");
    EXPECT_EQ(Export(folder, L"batch.txt", 1), L"batch.txt");
    EXPECT_TRUE(NoMessageBox());
    const std::string written = FileBytes(folder + L"\\batch.txt");
    EXPECT_EQ(written.substr(0, 4), Utf16Bytes(u"P"));
    EXPECT_GT(written.size(), 32768u) << "the export must not fit the full disk below";

    // A disk that fills up part way: the earlier file stays, no other file is left.
    const std::wstring full = WindowsPath(L"" KESTRIVO_HOSTILE_DIR) + L"\\full-disk";
    if (::GetFileAttributesW((full + L"\\mounted").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no small file system was mounted (hostile_files.sh needs root)";
    EXPECT_EQ(Export(full, L"batch.txt", 1), L"batch.txt");
    std::wstring lower = full + L"\\batch.txt";
    ::CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    EXPECT_EQ(Dismiss(), W(desktop::ExportWriteFailed(desktop::Utf16(lower))));
    EXPECT_EQ(FileBytes(full + L"\\batch.txt"), "earlier export\r\n");
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE h = ::FindFirstFileW((full + L"\\*").c_str(), &found);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    do {
        if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
    } while (::FindNextFileW(h, &found));
    ::FindClose(h);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"batch.txt", L"filler", L"mounted"}));
}

}  // namespace
