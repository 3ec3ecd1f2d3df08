// Conversions between the program's code page 936 texts and the UTF-16 of Win32 and COM.
#pragma once

#include <string>

namespace rt {

inline constexpr unsigned kTextCodePage = 936;

// Converts from code page 936 whatever the system's own ANSI code page is, so the
// texts show right on every system. Bytes that are not valid GBK become U+FFFD.
std::wstring from_gbk(const char* gbk);
std::string to_gbk(const wchar_t* wide);

// Numbers for messages, without pulling the C library's formatted output into the exe.
std::wstring decimal(long long value);
std::wstring hex(unsigned long long value);  // with the 0x prefix

}  // namespace rt
