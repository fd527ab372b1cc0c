// The print-UI command lines the installer sends, parsed into one action. Portable: no
// platform headers, so the parser is unit tested on its own.
//
// Grammar: blank-separated tokens (space or tab); a double quote starts or ends a quoted
// run inside a token and is removed, so  /b "Q73(copy 1)"  gives the value  Q73(copy 1).
// Backslashes are plain characters (they are path separators here, not escapes). The text
// is ANSI bytes: the trail bytes of GBK, Big5 and Shift-JIS characters never equal a blank
// or a double quote, so a byte-wise scan keeps multi-byte names whole.
//
// Switches are case-sensitive, as the installer writes them:
//   /if /f INF /r PORT /b NAME /m MODEL   install printer NAME on PORT with driver MODEL
//   /y /n NAME                            make NAME the default printer
// Anything else is refused with a named outcome; nothing is carried out on a refusal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class PrintUiAction { kNone, kInstallPrinter, kSetDefault };

enum class ParseOutcome {
    kOk,
    kEmpty,               // no tokens at all
    kUnterminatedQuote,   // a double quote without its partner
    kUnknownSwitch,       // a switch this stand-in does not carry out
    kMissingValue,        // a value switch at the end, before another switch, or with ""
    kValueTooLong,        // a value longer than kMaxValueLength bytes
    kUnexpectedArgument,  // a token that is neither a switch nor a switch's value
    kRepeatedSwitch,      // the same switch twice
    kNoAction,            // neither /if nor /y
    kTwoActions,          // both /if and /y
    kMissingSwitch,       // the action lacks one of the switches it needs
    kSwitchNotForAction,  // a switch the chosen action does not use
};

// Values must fit the 260-byte path and name buffers of the Win32 side.
constexpr std::size_t kMaxValueLength = 259;

struct PrintUiCommand {
    PrintUiAction action = PrintUiAction::kNone;
    std::string strInfPath;   // /f
    std::string strPort;      // /r
    std::string strName;      // /b for /if, /n for /y
    std::string strModel;     // /m
};

struct ParseResult {
    ParseOutcome outcome = ParseOutcome::kEmpty;
    PrintUiCommand command;   // filled only when outcome is kOk
    std::string strDetail;    // the offending token or switch, for the refusals that have one
};

ParseResult ParsePrintUiCommandLine(std::string_view text);

// A short English name of the outcome, for diagnostics.
const char* DescribeParseOutcome(ParseOutcome outcome);

// The Q73_PRINTUI_HANG knob: 1 to 3600 decimal seconds, nothing else. False (and nSeconds
// left alone) for anything else, so a mistyped knob never hangs a test for long.
bool ParseHangSeconds(std::string_view text, unsigned& nSeconds);
