// The line patcher that writes the printer name into the driver's GPD and INI text.
//
// Five rules, tried in order on every line: the first whose match text occurs anywhere in
// the line (case-sensitive bytes, not a prefix test) replaces the whole line. Portable: no
// platform headers, so the same rules run natively and under Windows.
#pragma once

#include <string>
#include <string_view>

#include "framework/fixed_string.h"

struct PatchRule {
    CPathString strMatch;
    CPathString strReplacement;
};

constexpr int kPatchRuleCount = 5;

// Fills the five rules with the replacements formatted from the printer name. False when a
// replacement would exceed 259 characters; the rules must then not be used.
bool MakePatchRules(std::string_view printerName, PatchRule (&rules)[kPatchRuleCount]);

// The first of nCount rules whose match text occurs in the line, or null.
const PatchRule* FindMatchingRule(std::string_view line, const PatchRule* pRules, int nCount);

// The longest line the patcher reads at once; a longer line is handled as pieces of this many
// characters, each as a line of its own.
constexpr std::size_t kMaxPatchLine = 259;

// Calls onLine for every line of text, as a text-mode reader delivers them: LF or CR LF ends
// a line (neither is part of it), a last line without a line end still counts, and a line
// longer than nMaxPiece characters arrives as consecutive pieces of at most nMaxPiece.
template <typename OnLine>
void ForEachTextLine(std::string_view text, std::size_t nMaxPiece, OnLine onLine) {
    while (!text.empty()) {
        const std::size_t nEnd = text.find('\n');
        std::string_view line = text.substr(0, nEnd);
        text = nEnd == std::string_view::npos ? std::string_view() : text.substr(nEnd + 1);
        if (nEnd != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        do {
            onLine(line.substr(0, nMaxPiece));
            line.remove_prefix(line.size() < nMaxPiece ? line.size() : nMaxPiece);
        } while (!line.empty());
    }
}

// The patched text: every source line, replaced by its rule's replacement where one
// matches, followed by a single LF.
std::string PatchText(std::string_view source, const PatchRule* pRules, int nCount);
