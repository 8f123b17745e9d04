// The tests' side of the stand-in spreadsheet application: its registration in the prefix
// (HKLM, since the ProgID lookup ignores per-user classes) and what its log says.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sheet_standin.h"

inline constexpr const wchar_t* ProgIdKey = L"Software\\Classes\\Excel.Application";

// "Excel.Application" answered by the stand-in DLL at `dll` (a Windows path).
inline void RegisterStandIn(const std::wstring& dll) {
    std::wstring clsidKey = std::wstring(L"Software\\Classes\\CLSID\\") + SheetStandInClsidText;
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, (std::wstring(ProgIdKey) + L"\\CLSID").c_str(), nullptr, REG_SZ,
                                SheetStandInClsidText,
                                static_cast<DWORD>((wcslen(SheetStandInClsidText) + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    const std::wstring model = L"Apartment";
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, (clsidKey + L"\\InprocServer32").c_str(), nullptr, REG_SZ,
                                dll.c_str(), static_cast<DWORD>((dll.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, (clsidKey + L"\\InprocServer32").c_str(), L"ThreadingModel",
                                REG_SZ, model.c_str(), static_cast<DWORD>((model.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

inline void UnregisterStandIn() {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, ProgIdKey);
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\CLSID\\") + SheetStandInClsidText).c_str());
}

// What the stand-in's log says about one test's sessions.
struct Sessions {
    std::vector<std::wstring> lines;
    int Count(const std::wstring& part) const {
        int n = 0;
        for (auto& l : lines) n += l.find(part) != std::wstring::npos;
        return n;
    }
    int Created() const { return Count(L"new "); }
    int Freed() const { return Count(L"free "); }
    int Opened() const { return Count(L"-> Workbook#"); }
    int ClosedUnsaved() const { return Count(L".Close(SaveChanges=False)"); }
    int Applications() const { return Count(L"new Application#"); }
    int Quits() const { return Count(L".Quit -> quit"); }
    // Each workbook closed unsaved before its application quits, every object released.
    void ExpectEndedCleanly() const {
        EXPECT_EQ(Created(), Freed()) << Text();
        EXPECT_EQ(ClosedUnsaved(), Opened()) << Text();
        EXPECT_EQ(Count(L".Close(SaveChanges=True"), 0);
        EXPECT_EQ(Count(L".Close(SaveChanges=not given"), 0);
        EXPECT_EQ(Quits(), Applications()) << Text();
        int open = 0;
        for (auto& l : lines) {
            if (l.find(L"-> Workbook#") != std::wstring::npos) ++open;
            if (l.find(L".Close(") != std::wstring::npos) --open;
            if (l.find(L".Quit") != std::wstring::npos) {
                EXPECT_EQ(open, 0) << "quit with a workbook open";
            }
        }
    }
    std::wstring Text() const {
        std::wstring all;
        for (auto& l : lines) all += l + L"\n";
        return all;
    }
};

inline Sessions ReadSessions(const std::wstring& log) {
    Sessions s;
    std::FILE* f = ::_wfopen(log.c_str(), L"rb");
    if (!f) return s;
    std::string all;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) all.append(chunk, n);
    std::fclose(f);
    std::size_t at = 0;
    for (std::size_t end; (end = all.find('\n', at)) != std::string::npos; at = end + 1) {
        std::string line = all.substr(at, end - at);
        int n = ::MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
        std::wstring w(static_cast<std::size_t>(n), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), w.data(), n);
        s.lines.push_back(w);
    }
    return s;
}
