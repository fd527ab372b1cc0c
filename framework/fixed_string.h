// A NUL-terminated text in a fixed char buffer, with one bounded way in.
//
// The installer keeps paths and names in 260-byte buffers and INI values in 1000-byte
// buffers. Every write goes through assign/append/format, which refuse text that does not
// fit (returning false and leaving the old contents whole), so a truncated path can never
// go unnoticed. Portable: no platform headers.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string_view>

template <std::size_t N>
class CFixedString {
    static_assert(N > 1, "room for at least one character and the terminator");

public:
    static constexpr std::size_t kCapacity = N;      // bytes, terminator included
    static constexpr std::size_t kMaxLength = N - 1; // characters of text

    constexpr CFixedString() : m_sz{} {}
    explicit CFixedString(std::string_view text) : CFixedString() { assign(text); }

    // Replaces the text. False, and nothing changed, when it has more than kMaxLength bytes.
    bool assign(std::string_view text) {
        if (text.size() > kMaxLength) return false;
        std::memmove(m_sz, text.data(), text.size());
        m_sz[text.size()] = '\0';
        return true;
    }

    // Appends text. False, and nothing changed, when the result would not fit.
    bool append(std::string_view text) {
        const std::size_t length = size();
        if (text.size() > kMaxLength - length) return false;
        std::memmove(m_sz + length, text.data(), text.size());
        m_sz[length + text.size()] = '\0';
        return true;
    }

    // printf-style formatting. False, and nothing changed, when the result would not fit.
    bool format(const char* pszFormat, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
    {
        char szResult[N];
        va_list args;
        va_start(args, pszFormat);
        const int nWritten = std::vsnprintf(szResult, N, pszFormat, args);
        va_end(args);
        if (nWritten < 0 || static_cast<std::size_t>(nWritten) > kMaxLength) return false;
        std::memcpy(m_sz, szResult, static_cast<std::size_t>(nWritten) + 1);
        return true;
    }

    void clear() { m_sz[0] = '\0'; }
    bool empty() const { return m_sz[0] == '\0'; }
    std::size_t size() const { return std::strlen(m_sz); }
    const char* c_str() const { return m_sz; }
    operator std::string_view() const { return std::string_view(m_sz); }

    // For platform calls that fill the buffer themselves; the caller passes kCapacity as
    // the size and checks the returned length against it.
    char* GetBufferUnsafe() { return m_sz; }

private:
    char m_sz[N];
};

using CPathString = CFixedString<260>;   // MAX_PATH: 259 characters and the terminator
using CProfileString = CFixedString<1000>;
