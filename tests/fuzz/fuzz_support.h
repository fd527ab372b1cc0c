// What the fuzz targets share: a check that turns a broken invariant into a libFuzzer finding,
// a reader of the fuzz bytes, and an independent splitter of text into the lines and pieces
// a text-mode reader delivers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// A broken invariant: print it and abort, which libFuzzer reports with the input.
#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (false)

// Reads the fuzz bytes from the front: little-endian numbers (zero once the bytes run out),
// then text lines, then the rest. Seeds can be written by hand in this layout.
class CFuzzInput {
public:
    CFuzzInput(const std::uint8_t* pData, std::size_t nSize)
        : m_rest(reinterpret_cast<const char*>(pData), nSize) {}

    std::uint32_t TakeNumber(std::size_t nBytes) {
        std::uint32_t nValue = 0;
        for (std::size_t i = 0; i < nBytes && !m_rest.empty(); ++i) {
            nValue |= static_cast<std::uint32_t>(static_cast<unsigned char>(m_rest[0])) << (8 * i);
            m_rest.remove_prefix(1);
        }
        return nValue;
    }
    std::uint8_t TakeU8() { return static_cast<std::uint8_t>(TakeNumber(1)); }
    std::uint16_t TakeU16() { return static_cast<std::uint16_t>(TakeNumber(2)); }
    std::uint32_t TakeU32() { return TakeNumber(4); }

    // The text up to the next LF (not included); the LF is consumed.
    std::string_view TakeLine() {
        const std::size_t nEnd = m_rest.find('\n');
        const std::string_view line = m_rest.substr(0, nEnd);
        m_rest = nEnd == std::string_view::npos ? std::string_view() : m_rest.substr(nEnd + 1);
        return line;
    }
    bool Empty() const { return m_rest.empty(); }
    std::string_view Rest() const { return m_rest; }

private:
    std::string_view m_rest;
};

// Whether text holds the marker anywhere.
inline bool Holds(std::string_view text, std::string_view marker) {
    return text.find(marker) != std::string_view::npos;
}

// The lines of a text as a text-mode reader gives them, cut into pieces of at most nMaxPiece:
// lines end at LF, a CR right before the LF is dropped, a last line without LF counts when it
// is not empty, and an empty line is one empty piece. Written apart from the product's
// splitter so that the two can be compared.
inline std::vector<std::string_view> TextPieces(std::string_view text, std::size_t nMaxPiece) {
    std::vector<std::string_view> pieces;
    std::size_t nStart = 0;
    while (nStart < text.size()) {
        std::size_t nEnd = text.find('\n', nStart);
        const bool bTerminated = nEnd != std::string_view::npos;
        if (!bTerminated) nEnd = text.size();
        std::string_view line = text.substr(nStart, nEnd - nStart);
        if (bTerminated && !line.empty() && line[line.size() - 1] == '\r') line = line.substr(0, line.size() - 1);
        if (line.empty()) pieces.push_back(line);
        for (std::size_t i = 0; i < line.size(); i += nMaxPiece) pieces.push_back(line.substr(i, nMaxPiece));
        nStart = nEnd + 1;
    }
    return pieces;
}

// The LF-ended lines of a text the patcher wrote (every line ends with LF).
inline std::vector<std::string_view> WrittenLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t nStart = 0; nStart < text.size();) {
        const std::size_t nEnd = text.find('\n', nStart);
        FUZZ_CHECK(nEnd != std::string_view::npos);
        lines.push_back(text.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return lines;
}
