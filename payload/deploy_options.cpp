#include "payload/deploy_options.h"

#include <vector>

#include "payload/ascii_case.h"
#include "payload/printer_ports.h"

namespace {

std::vector<std::string> SplitArguments(std::string_view arguments) {
    std::vector<std::string> result;
    std::string strCurrent;
    bool bInQuotes = false, bInArgument = false;
    for (char c : arguments) {
        if (c == '"') {
            bInQuotes = !bInQuotes;
            bInArgument = true;
        } else if (!bInQuotes && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (bInArgument) result.push_back(strCurrent);
            strCurrent.clear();
            bInArgument = false;
        } else {
            strCurrent += c;
            bInArgument = true;
        }
    }
    if (bInArgument) result.push_back(strCurrent);
    return result;
}

// Read against no offered port: a value that is well formed is then Chosen or Unknown.
bool IsMalformedPortValue(std::string_view value) {
    PortChoice choice;
    return ReadPortValue(value, {}, choice) == PortValue::Malformed;
}

}  // namespace

DeployOptions ParseDeployOptions(std::string_view arguments, DeployProgram program) {
    DeployOptions options;
    constexpr std::string_view kLog = "/LOG=";
    constexpr std::string_view kPort = "/PORT=";
    for (const std::string& strArgument : SplitArguments(arguments)) {
        const std::string_view argument = strArgument;
        if (EqualsIgnoringAsciiCase(argument, "/S") || EqualsIgnoringAsciiCase(argument, "/VERYSILENT") ||
            EqualsIgnoringAsciiCase(argument, "/quiet")) {
            options.bSilent = true;
        } else if (EqualsIgnoringAsciiCase(argument, "/SUPPRESSMSGBOXES") || EqualsIgnoringAsciiCase(argument, "/NORESTART")) {
        } else if (argument == "/?") {
            options.bUsage = true;
        } else if (argument.size() > kLog.size() && EqualsIgnoringAsciiCase(argument.substr(0, kLog.size()), kLog)) {
            options.strLogPath = strArgument.substr(kLog.size());
        } else if (program == DeployProgram::Setup && argument.size() >= kPort.size() &&
                   EqualsIgnoringAsciiCase(argument.substr(0, kPort.size()), kPort) &&
                   !IsMalformedPortValue(argument.substr(kPort.size()))) {
            options.strPort = strArgument.substr(kPort.size());
        } else if (options.strBadArgument.empty()) {
            options.strBadArgument = strArgument.empty() ? std::string("\"\"") : strArgument;
        }
    }
    return options;
}
