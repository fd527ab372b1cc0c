#include "command_line.h"

#include <vector>

namespace {

struct Token {
    std::string strText;
    bool bQuoted = false;  // any part was quoted: then it is a value, never a switch
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// False on an unterminated quote.
bool Tokenize(std::string_view text, std::vector<Token>& tokens) {
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i == text.size()) break;
        Token token;
        bool bInQuotes = false;
        for (; i < text.size() && (bInQuotes || !IsBlank(text[i])); ++i) {
            if (text[i] == '"') {
                bInQuotes = !bInQuotes;
                token.bQuoted = true;
            } else {
                token.strText.push_back(text[i]);
            }
        }
        if (bInQuotes) return false;
        tokens.push_back(std::move(token));
    }
    return true;
}

enum SwitchId { kIf, kY, kF, kR, kB, kM, kN, kSwitchCount };

struct SwitchInfo {
    const char* pszName;
    bool bTakesValue;
};

constexpr SwitchInfo kSwitches[kSwitchCount] = {
    {"/if", false}, {"/y", false}, {"/f", true}, {"/r", true},
    {"/b", true},   {"/m", true},  {"/n", true},
};

bool LooksLikeSwitch(const Token& token) {
    return !token.bQuoted && !token.strText.empty() &&
           (token.strText[0] == '/' || token.strText[0] == '-');
}

ParseResult Refuse(ParseOutcome outcome, std::string strDetail = std::string()) {
    ParseResult result;
    result.outcome = outcome;
    result.strDetail = std::move(strDetail);
    return result;
}

}  // namespace

ParseResult ParsePrintUiCommandLine(std::string_view text) {
    std::vector<Token> tokens;
    if (!Tokenize(text, tokens)) return Refuse(ParseOutcome::kUnterminatedQuote);
    if (tokens.empty()) return Refuse(ParseOutcome::kEmpty);

    bool seen[kSwitchCount] = {};
    std::string values[kSwitchCount];
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (!LooksLikeSwitch(token)) return Refuse(ParseOutcome::kUnexpectedArgument, token.strText);
        int id = 0;
        while (id < kSwitchCount && token.strText != kSwitches[id].pszName) ++id;
        if (id == kSwitchCount) return Refuse(ParseOutcome::kUnknownSwitch, token.strText);
        if (seen[id]) return Refuse(ParseOutcome::kRepeatedSwitch, token.strText);
        seen[id] = true;
        if (!kSwitches[id].bTakesValue) continue;
        // A switch-looking token after a value switch means its value was left out.
        if (i + 1 == tokens.size() || LooksLikeSwitch(tokens[i + 1]) || tokens[i + 1].strText.empty())
            return Refuse(ParseOutcome::kMissingValue, token.strText);
        ++i;
        if (tokens[i].strText.size() > kMaxValueLength)
            return Refuse(ParseOutcome::kValueTooLong, token.strText);
        values[id] = tokens[i].strText;
    }

    if (seen[kIf] && seen[kY]) return Refuse(ParseOutcome::kTwoActions);
    if (!seen[kIf] && !seen[kY]) return Refuse(ParseOutcome::kNoAction);

    // The switches each action needs; every other value switch is refused.
    static constexpr SwitchId kInstallNeeds[] = {kF, kR, kB, kM};
    static constexpr SwitchId kDefaultNeeds[] = {kN};
    const bool bInstall = seen[kIf];
    bool used[kSwitchCount] = {};
    used[kIf] = used[kY] = true;
    auto require = [&](SwitchId id) {
        used[id] = true;
        return seen[id];
    };
    if (bInstall) {
        for (SwitchId id : kInstallNeeds)
            if (!require(id)) return Refuse(ParseOutcome::kMissingSwitch, kSwitches[id].pszName);
    } else {
        for (SwitchId id : kDefaultNeeds)
            if (!require(id)) return Refuse(ParseOutcome::kMissingSwitch, kSwitches[id].pszName);
    }
    for (int id = 0; id < kSwitchCount; ++id)
        if (seen[id] && !used[id]) return Refuse(ParseOutcome::kSwitchNotForAction, kSwitches[id].pszName);

    ParseResult result;
    result.outcome = ParseOutcome::kOk;
    PrintUiCommand& command = result.command;
    if (bInstall) {
        command.action = PrintUiAction::kInstallPrinter;
        command.strInfPath = values[kF];
        command.strPort = values[kR];
        command.strName = values[kB];
        command.strModel = values[kM];
    } else {
        command.action = PrintUiAction::kSetDefault;
        command.strName = values[kN];
    }
    return result;
}

const char* DescribeParseOutcome(ParseOutcome outcome) {
    switch (outcome) {
    case ParseOutcome::kOk: return "ok";
    case ParseOutcome::kEmpty: return "empty command line";
    case ParseOutcome::kUnterminatedQuote: return "unterminated quote";
    case ParseOutcome::kUnknownSwitch: return "unknown switch";
    case ParseOutcome::kMissingValue: return "switch without its value";
    case ParseOutcome::kValueTooLong: return "value too long";
    case ParseOutcome::kUnexpectedArgument: return "unexpected argument";
    case ParseOutcome::kRepeatedSwitch: return "repeated switch";
    case ParseOutcome::kNoAction: return "no action switch";
    case ParseOutcome::kTwoActions: return "two action switches";
    case ParseOutcome::kMissingSwitch: return "action lacks a switch";
    case ParseOutcome::kSwitchNotForAction: return "switch not used by the action";
    }
    return "unknown outcome";
}

bool ParseHangSeconds(std::string_view text, unsigned& nSeconds) {
    if (text.empty() || text.size() > 4) return false;
    unsigned nValue = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        nValue = nValue * 10 + static_cast<unsigned>(c - '0');
    }
    if (nValue == 0 || nValue > 3600) return false;
    nSeconds = nValue;
    return true;
}
