// UTF-8 text to and from the UTF-16 the wide Win32 calls take (WinHTTP, XmlLite, the
// credential store, wide controls). Text that does not convert comes back empty.
#pragma once

#include <windows.h>

#include <string>

inline std::wstring utf16_of(const std::string& s) {
    if (s.empty() || s.size() > 0x7fffffff) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring out((size_t)n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), &out[0], n);
    return out;
}

inline std::string utf8_of(const wchar_t* s, size_t n) {
    if (!s || n == 0 || n > 0x7fffffff) return std::string();
    const int len = WideCharToMultiByte(CP_UTF8, 0, s, (int)n, nullptr, 0, nullptr, nullptr);
    if (len <= 0) return std::string();
    std::string out((size_t)len, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s, (int)n, &out[0], len, nullptr, nullptr);
    return out;
}

inline std::string utf8_of(const std::wstring& w) { return utf8_of(w.data(), w.size()); }
