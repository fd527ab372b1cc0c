// A port value from the command line (/PORT=) or the setting file (Port=), read against a fixed
// set of the spooler's ports. Input: the value.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "payload/printer_ports.h"

namespace {

bool IsHostByte(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '.';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    CFuzzInput input(pData, nSize);
    const std::string_view value = input.Rest();
    const std::vector<SpoolerPort> offered =
        OfferedPorts({{"USB001", "USB"}, {"COM3:", ""}, {"FILE:", ""}, {"IP_192.0.2.10", ""}, {"a\"b", ""}});

    PortChoice choice;
    const PortValue result = ReadPortValue(value, offered, choice);
    if (result != PortValue::Chosen) {
        FUZZ_CHECK(choice.strPort == "LPT1:" && !choice.IsNetwork());
        return 0;
    }
    // Whatever is chosen can stand in quotes on the install command line.
    FUZZ_CHECK(!choice.strPort.empty() && choice.strPort.find('"') == std::string::npos);
    if (choice.IsNetwork()) {
        FUZZ_CHECK(choice.strNetworkAddress.size() <= kMaxNetworkAddress);
        FUZZ_CHECK(std::all_of(choice.strNetworkAddress.begin(), choice.strNetworkAddress.end(), IsHostByte));
        FUZZ_CHECK(choice.strPort == "IP_" + choice.strNetworkAddress);
        FUZZ_CHECK(choice.nNetworkPort >= 1 && choice.nNetworkPort <= 65535);
    } else {
        FUZZ_CHECK(std::any_of(offered.begin(), offered.end(),
                               [&choice](const SpoolerPort& port) { return port.strName == choice.strPort; }));
    }
    return 0;
}
