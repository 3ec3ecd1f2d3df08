#include "runtime/text.h"

#include <windows.h>

#include <cwchar>

namespace rt {

Text from_gbk(const char* gbk) {
    if (!gbk || !*gbk) return {};
    const int in_len = static_cast<int>(std::strlen(gbk));
    const int out_len = MultiByteToWideChar(kTextCodePage, 0, gbk, in_len, nullptr, 0);
    if (out_len <= 0) return {};
    Text out = Text::sized(static_cast<size_t>(out_len));
    MultiByteToWideChar(kTextCodePage, 0, gbk, in_len, out.data(), out_len);
    return out;
}

GbkText to_gbk(const wchar_t* wide) {
    if (!wide || !*wide) return {};
    const int in_len = static_cast<int>(std::wcslen(wide));
    const int out_len = WideCharToMultiByte(kTextCodePage, 0, wide, in_len, nullptr, 0, nullptr, nullptr);
    if (out_len <= 0) return {};
    GbkText out = GbkText::sized(static_cast<size_t>(out_len));
    WideCharToMultiByte(kTextCodePage, 0, wide, in_len, out.data(), out_len, nullptr, nullptr);
    return out;
}

Text decimal(long long value) {
    wchar_t buf[24];
    wchar_t* p = buf + 24;
    unsigned long long v = value < 0 ? 0ull - static_cast<unsigned long long>(value) : value;
    do {
        *--p = static_cast<wchar_t>(L'0' + v % 10);
        v /= 10;
    } while (v);
    if (value < 0) *--p = L'-';
    return Text(Text::View(p, static_cast<size_t>(buf + 24 - p)));
}

Text hex(unsigned long long value) {
    wchar_t buf[20];
    wchar_t* p = buf + 20;
    do {
        *--p = L"0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    } while (value);
    *--p = L'x';
    *--p = L'0';
    return Text(Text::View(p, static_cast<size_t>(buf + 20 - p)));
}

}  // namespace rt
