// The spreadsheet application's stand-in for the import tests: an in-process automation server
// that answers "Excel.Application" with hand-written IDispatch objects (no type library).
//
// A workbook is a text file of cells, one a line: an A1 address, a type and the value, e.g.
//   A1 text Code
//   B2 number 42
//   B3 empty
// Lines starting with '#' are comments. The used range runs from A1 to the last row and column
// named. Every call is appended to the log file named by KESTRIVO_SHEET_LOG, one line each:
// "new Type#n" and "free Type#n" as objects come and go, "Type#n.Member(args) -> result" for
// each call. KESTRIVO_SHEET_FAIL asks for a failure: "create" (the application cannot be
// created), "open" (every workbook fails to open, as a missing file does) or "read" (every
// cell value fails).
#pragma once
#include <guiddef.h>

// {6C1B3E52-8F7A-4D0B-9E21-5A7C3D9F0B14}
inline constexpr GUID SheetStandInClsid = {
    0x6c1b3e52, 0x8f7a, 0x4d0b, {0x9e, 0x21, 0x5a, 0x7c, 0x3d, 0x9f, 0x0b, 0x14}};
inline constexpr const wchar_t* SheetStandInClsidText = L"{6C1B3E52-8F7A-4D0B-9E21-5A7C3D9F0B14}";
