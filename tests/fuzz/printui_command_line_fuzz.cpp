// The print-UI stand-in's command-line parser and its hang knob.
// Input: the command line.
#include <string>

#include "command_line.h"
#include "fuzz_support.h"

namespace {

bool IsGoodValue(const std::string& strValue) {
    return !strValue.empty() && strValue.size() <= kMaxValueLength && !Holds(strValue, "\"");
}

// The command line the installer would write for a command: every value quoted.
std::string Render(const PrintUiCommand& command) {
    auto quoted = [](const std::string& strValue) { return "\"" + strValue + "\""; };
    if (command.action == PrintUiAction::kSetDefault) return "/y /n " + quoted(command.strName);
    return "/if /f " + quoted(command.strInfPath) + " /r " + quoted(command.strPort) + " /b " +
           quoted(command.strName) + " /m " + quoted(command.strModel);
}

bool SameCommand(const PrintUiCommand& a, const PrintUiCommand& b) {
    return a.action == b.action && a.strInfPath == b.strInfPath && a.strPort == b.strPort &&
           a.strName == b.strName && a.strModel == b.strModel;
}

void CheckHangKnob(std::string_view text) {
    unsigned nSeconds = 12345;
    if (!ParseHangSeconds(text, nSeconds)) {
        FUZZ_CHECK(nSeconds == 12345);
        return;
    }
    FUZZ_CHECK(!text.empty() && text.size() <= 4 && text.find_first_not_of("0123456789") == std::string_view::npos);
    FUZZ_CHECK(nSeconds >= 1 && nSeconds <= 3600 && nSeconds == std::stoul(std::string(text)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    CheckHangKnob(text);

    const ParseResult result = ParsePrintUiCommandLine(text);
    FUZZ_CHECK(std::string_view(DescribeParseOutcome(result.outcome)) != "unknown outcome");
    const PrintUiCommand& command = result.command;
    if (result.outcome != ParseOutcome::kOk) {
        // Nothing is carried out on a refusal.
        FUZZ_CHECK(SameCommand(command, PrintUiCommand()));
        return 0;
    }
    if (command.action == PrintUiAction::kInstallPrinter) {
        for (const std::string* pValue : {&command.strInfPath, &command.strPort, &command.strName, &command.strModel})
            FUZZ_CHECK(IsGoodValue(*pValue));
    } else {
        FUZZ_CHECK(command.action == PrintUiAction::kSetDefault);
        FUZZ_CHECK(IsGoodValue(command.strName));
        FUZZ_CHECK(command.strInfPath.empty() && command.strPort.empty() && command.strModel.empty());
    }
    // The command written back as the installer writes it reads as the same command.
    const ParseResult again = ParsePrintUiCommandLine(Render(command));
    FUZZ_CHECK(again.outcome == ParseOutcome::kOk && SameCommand(again.command, command));
    return 0;
}
