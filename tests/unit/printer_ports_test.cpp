// Which port the printer goes on: the ports offered and their order, the preselection, network
// addresses and the port values of the command line and the setting file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/printer_ports.h"

namespace {

std::vector<std::string> Names(const std::vector<SpoolerPort>& ports) {
    std::vector<std::string> names;
    for (const SpoolerPort& port : ports) names.push_back(port.strName);
    return names;
}

std::vector<SpoolerPort> Ports(const std::vector<std::string>& names) {
    std::vector<SpoolerPort> ports;
    for (const std::string& strName : names) ports.push_back({strName, "Virtual printer port for USB"});
    return ports;
}

TEST(PrinterPorts, DevicePortsAreOfferedUsbFirstThenSerialParallelAndTheRest) {
    const std::vector<SpoolerPort> spooler = Ports({"FILE:", "LPT1:", "COM10:", "USB002", "nul:", "COM2:", "IP_192.0.2.10",
                                                    "USB001", "\\\\shop\\receipts", "C:\\out.prn", "PORTPROMPT:",
                                                    "XPSPort:", "SHRFAX:", "Ne00:", "WSD-1234", "LPT2:", "a\"b"});
    EXPECT_EQ(Names(OfferedPorts(spooler)), (std::vector<std::string>{"USB001", "USB002", "COM2:", "COM10:", "LPT1:", "LPT2:",
                                                                       "IP_192.0.2.10", "WSD-1234"}));
    // The port the printer goes on without a choice is always there.
    EXPECT_EQ(Names(OfferedPorts(Ports({"COM1:", "FILE:"}))), (std::vector<std::string>{"COM1:", "LPT1:"}));
}

TEST(PrinterPorts, TheOneUsbPortNoPrinterUsesIsPreselected) {
    struct Case {
        std::vector<std::string> ports;
        std::vector<std::string> printerPorts;  // as the spooler gives them, pooled ones with commas
        const char* pszPreselected;
    };
    const Case kCases[] = {
        {{"COM1:", "LPT1:"}, {}, "LPT1:"},
        {{"COM1:", "LPT1:", "USB001"}, {}, "USB001"},
        {{"USB001", "USB002", "LPT1:"}, {}, "LPT1:"},
        {{"USB001", "USB002", "LPT1:"}, {"LPT1:", "COM1:, usb001"}, "USB002"},
        {{"USB001", "LPT1:"}, {"USB001"}, "LPT1:"},
    };
    for (const Case& c : kCases) {
        const std::vector<SpoolerPort> offered = OfferedPorts(Ports(c.ports));
        EXPECT_EQ(PreselectedPort(offered, PortsInUse(c.printerPorts)), c.pszPreselected) << c.ports.size();
    }
}

TEST(PrinterPorts, ANetworkAddressIsAnIpv4AddressOrAHostName) {
    for (const char* pszValid : {"192.0.2.10", "10.0.0.1", "printer", "receipt-7.shop.example", "a1", "3com.example"})
        EXPECT_TRUE(IsValidNetworkAddress(pszValid)) << pszValid;
    for (const char* pszInvalid : {"", "192.0.2", "192.0.2.256", "192.0.2.010", "1.2.3.4.5", "-printer", "printer-",
                                   "shop..example", "printer.", "print er", "printer:9100", "\\\\printer", "fe80::1",
                                   "a234567890123456789012345678901234567890123456789"})
        EXPECT_FALSE(IsValidNetworkAddress(pszInvalid)) << pszInvalid;
    EXPECT_TRUE(IsValidNetworkAddress("a23456789012345678901234567890123456789012345678"));  // 48 characters
}

TEST(PrinterPorts, PortValuesNameAnOfferedPortOrANetworkPrinter) {
    const std::vector<SpoolerPort> offered = OfferedPorts(Ports({"USB001", "COM3:", "LPT1:", "FILE:"}));
    struct Case {
        const char* pszValue;
        PortValue result;
        const char* pszPort;
        const char* pszAddress;
        unsigned nNetworkPort;
    };
    const Case kCases[] = {
        {"usb001", PortValue::Chosen, "USB001", "", 9100},
        {"COM3", PortValue::Chosen, "COM3:", "", 9100},
        {"LPT1:", PortValue::Chosen, "LPT1:", "", 9100},
        {"IP:192.0.2.10", PortValue::Chosen, "IP_192.0.2.10", "192.0.2.10", 9100},
        {"ip:printer-7:9101", PortValue::Chosen, "IP_printer-7", "printer-7", 9101},
        {"USB007", PortValue::Unknown, "LPT1:", "", 9100},
        {"FILE:", PortValue::Unknown, "LPT1:", "", 9100},
        {"", PortValue::Malformed, "LPT1:", "", 9100},
        {"IP:", PortValue::Malformed, "LPT1:", "", 9100},
        {"IP:192.0.2.10:", PortValue::Malformed, "LPT1:", "", 9100},
        {"IP:192.0.2.10:65536", PortValue::Malformed, "LPT1:", "", 9100},
        {"IP:192.0.2.10:+80", PortValue::Malformed, "LPT1:", "", 9100},
    };
    for (const Case& c : kCases) {
        PortChoice choice;
        EXPECT_EQ(ReadPortValue(c.pszValue, offered, choice), c.result) << c.pszValue;
        EXPECT_EQ(choice.strPort, c.pszPort) << c.pszValue;
        EXPECT_EQ(choice.strNetworkAddress, c.pszAddress) << c.pszValue;
        EXPECT_EQ(choice.nNetworkPort, c.nNetworkPort) << c.pszValue;
    }
}

}  // namespace
