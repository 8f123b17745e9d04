// Text handling of the encode methods: the numeric escapes of the input, the conversion to and
// from the 8-bit text of the record encoders, and the input preparation of a few methods.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace tarnvik {

// The argument with its numeric escapes decoded (a null BSTR is empty text).
std::wstring DecodedInput(BSTR text);

// `text` in code page `cp` (CP_ACP, CP_UTF8, ...), at most `maxBytes` bytes: characters that
// would not fit whole are left off at the end, so a multi-byte character is never cut.
std::string ToCodePage(const std::wstring& text, UINT cp, std::size_t maxBytes = std::string::npos);

// `bytes` (up to their first NUL) in code page `cp`, widened.
std::wstring FromCodePage(const std::string& bytes, UINT cp);

// Master carton data: the first 13 characters, or "0"s inserted after the first character
// until there are 13 ("123" gives "1000000000023").
std::wstring MasterCartonData(std::wstring text);

// Intelligent Mail data: filled with "0" to 25 characters, cut to 31; the first 20 are the
// tracking code, the rest the routing code.
void IntelligentMailData(std::wstring text, std::wstring& tracking, std::wstring& routing);

}  // namespace tarnvik
