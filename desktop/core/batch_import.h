// The batch dialog's text-file import, line by line, and the checks and messages of its
// import and export: a file's lines become the batch text only when the whole file has been
// read and the batch field can show every line of it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform.h"

namespace desktop {

// How an import path is read, by its suffix: ".txt" a text file, ".xls" a spreadsheet, in
// any case of the letters (Windows names do not differ by case); None for any other name.
enum class ImportKind { None, Text, Spreadsheet };
ImportKind ImportKindOf(std::u16string_view path);

// The batch text of a text file's bytes, read as the program reads the file: UTF-16 after
// the mark FF FE, UTF-8 after the mark EF BB BF, otherwise 8-bit text in the system's ANSI
// code page, line by line. Each line (LF ends a line, a CR before it is dropped) is followed
// by LF CR, so that an empty line ends a record. A last record without an empty line after
// it is completed. False (and `batchText` empty) when a line does not convert.
bool ImportText(Platform& platform, std::string_view bytes, std::u16string& batchText);

// The longest line the batch field is given: the edit control wraps a longer unbroken line
// in time that grows with the square of its length (seconds at ten thousand characters).
inline constexpr std::size_t kLongestFieldLine = 8192;

// Appends a line read from a text file to the batch text being imported: the line, then
// LF CR, so that an empty line completes a record.
void AppendImportedLine(std::u16string& batchText, std::u16string_view line);
// Completes a last record that no empty line follows.
void EndImportedText(std::u16string& batchText);

// True for a character the batch field cannot be given: NUL (the field's text would end there).
bool FieldCannotShow(char16_t c);

// What keeps the batch field from showing a batch text: the first line (from 1, counted by
// LF) that holds a character it cannot show, more than kLongestFieldLine characters without
// a line end (LF or CR), or, with `guardShaping` (where the platform's text shaping fails as
// shaping.h tells), a character placed where that shaping fails on it.
struct FieldFault {
    std::size_t line = 0;
    char16_t character = 0;  // the character; 0 with `tooLong`
    bool tooLong = false;
};
std::optional<FieldFault> FirstFieldFault(std::u16string_view batchText, bool guardShaping);

// The messages of a failed import or export ("The batch is unchanged", "Any earlier file ...").
std::u16string ImportOpenFailed(std::u16string_view path);
std::u16string ImportReadFailed(std::u16string_view path);
// The chosen files whose names say no kind the import reads (ImportKind::None), named in order.
std::u16string ImportUnknownKind(const std::vector<std::u16string>& paths);
std::u16string ImportNotShowable(std::u16string_view path, const FieldFault& fault);
std::u16string ExportWriteFailed(std::u16string_view path);

}  // namespace desktop
