#include "payload/deploy_options.h"

#include <cctype>
#include <vector>

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

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

DeployOptions ParseDeployOptions(std::string_view arguments) {
    DeployOptions options;
    constexpr std::string_view kLog = "/LOG=";
    for (const std::string& strArgument : SplitArguments(arguments)) {
        const std::string_view argument = strArgument;
        if (EqualsIgnoringCase(argument, "/S") || EqualsIgnoringCase(argument, "/VERYSILENT") ||
            EqualsIgnoringCase(argument, "/quiet")) {
            options.bSilent = true;
        } else if (EqualsIgnoringCase(argument, "/SUPPRESSMSGBOXES") || EqualsIgnoringCase(argument, "/NORESTART")) {
        } else if (argument == "/?") {
            options.bUsage = true;
        } else if (argument.size() > kLog.size() && EqualsIgnoringCase(argument.substr(0, kLog.size()), kLog)) {
            options.strLogPath = strArgument.substr(kLog.size());
        } else if (options.strBadArgument.empty()) {
            options.strBadArgument = strArgument.empty() ? std::string("\"\"") : strArgument;
        }
    }
    return options;
}
