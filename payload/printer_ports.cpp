#include "payload/printer_ports.h"

#include <algorithm>

#include "payload/ascii_case.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetterOrDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

std::string_view WithoutTrailingColon(std::string_view name) {
    return !name.empty() && name.back() == ':' ? name.substr(0, name.size() - 1) : name;
}

// "USB001" for the prefix "USB", "COM3:" for "COM": the prefix, then one digit or more, then at
// most a colon.
bool IsPrefixAndNumber(std::string_view name, std::string_view prefix) {
    if (!StartsWithIgnoringCase(name, prefix)) return false;
    const std::string_view number = WithoutTrailingColon(name.substr(prefix.size()));
    return !number.empty() && std::all_of(number.begin(), number.end(), IsDigit);
}

// The number after a port's letters, for ordering COM2 before COM10; 0 when there is none.
unsigned long PortNumber(std::string_view name) {
    unsigned long nNumber = 0;
    for (char c : name) {
        if (IsDigit(c) && nNumber < 100000000) nNumber = nNumber * 10 + static_cast<unsigned long>(c - '0');
    }
    return nNumber;
}

bool SamePort(std::string_view a, std::string_view b) {
    return EqualsIgnoringAsciiCase(WithoutTrailingColon(a), WithoutTrailingColon(b));
}

bool IsDecimalOctet(std::string_view part) {
    if (part.empty() || part.size() > 3 || !std::all_of(part.begin(), part.end(), IsDigit)) return false;
    if (part.size() > 1 && part[0] == '0') return false;
    return PortNumber(part) <= 255;
}

// The dot-separated parts of a text; an empty text is one empty part.
std::vector<std::string_view> Labels(std::string_view text) {
    std::vector<std::string_view> labels;
    std::size_t nStart = 0;
    for (;;) {
        const std::size_t nDot = text.find('.', nStart);
        labels.push_back(text.substr(nStart, nDot == std::string_view::npos ? std::string_view::npos : nDot - nStart));
        if (nDot == std::string_view::npos) return labels;
        nStart = nDot + 1;
    }
}

bool IsHostLabel(std::string_view label) {
    return !label.empty() && label.size() <= 63 && label.front() != '-' && label.back() != '-' &&
           std::all_of(label.begin(), label.end(), [](char c) { return IsLetterOrDigit(c) || c == '-'; });
}

}  // namespace

PortKind ClassifyPort(std::string_view name) {
    if (IsPrefixAndNumber(name, "USB")) return PortKind::Usb;
    if (IsPrefixAndNumber(name, "COM")) return PortKind::Serial;
    if (IsPrefixAndNumber(name, "LPT")) return PortKind::Parallel;
    if (name.empty() || name.find_first_of("\\/\"") != std::string_view::npos || IsPrefixAndNumber(name, "Ne"))
        return PortKind::NoDevice;
    for (const char* pszNoDevice : {"FILE", "NUL", "PORTPROMPT", "XPSPort", "SHRFAX"}) {
        if (SamePort(name, pszNoDevice)) return PortKind::NoDevice;
    }
    return PortKind::OtherDevice;
}

std::vector<SpoolerPort> OfferedPorts(std::vector<SpoolerPort> ports) {
    ports.erase(std::remove_if(ports.begin(), ports.end(),
                               [](const SpoolerPort& port) { return ClassifyPort(port.strName) == PortKind::NoDevice; }),
                ports.end());
    if (std::none_of(ports.begin(), ports.end(), [](const SpoolerPort& port) { return SamePort(port.strName, kPrinterPort); }))
        ports.push_back({kPrinterPort, ""});
    std::stable_sort(ports.begin(), ports.end(), [](const SpoolerPort& a, const SpoolerPort& b) {
        const PortKind kindA = ClassifyPort(a.strName), kindB = ClassifyPort(b.strName);
        if (kindA != kindB) return kindA < kindB;
        return kindA != PortKind::OtherDevice && PortNumber(a.strName) < PortNumber(b.strName);
    });
    return ports;
}

std::vector<std::string> PortsInUse(const std::vector<std::string>& printerPortTexts) {
    std::vector<std::string> ports;
    for (const std::string& strText : printerPortTexts) {
        std::size_t nStart = 0;
        while (nStart <= strText.size()) {
            std::size_t nEnd = strText.find(',', nStart);
            if (nEnd == std::string::npos) nEnd = strText.size();
            std::string_view port = std::string_view(strText).substr(nStart, nEnd - nStart);
            while (!port.empty() && port.front() == ' ') port.remove_prefix(1);
            while (!port.empty() && port.back() == ' ') port.remove_suffix(1);
            if (!port.empty()) ports.emplace_back(port);
            nStart = nEnd + 1;
        }
    }
    return ports;
}

bool ContainsPort(const std::vector<std::string>& ports, std::string_view port) {
    return std::any_of(ports.begin(), ports.end(), [port](const std::string& strPort) { return SamePort(strPort, port); });
}

std::string PreselectedPort(const std::vector<SpoolerPort>& offered, const std::vector<std::string>& portsInUse) {
    const SpoolerPort* pFreeUsbPort = nullptr;
    int nFreeUsbPorts = 0;
    for (const SpoolerPort& port : offered) {
        if (ClassifyPort(port.strName) != PortKind::Usb || ContainsPort(portsInUse, port.strName)) continue;
        pFreeUsbPort = &port;
        ++nFreeUsbPorts;
    }
    return nFreeUsbPorts == 1 ? pFreeUsbPort->strName : std::string(kPrinterPort);
}

bool IsValidNetworkAddress(std::string_view address) {
    if (address.empty() || address.size() > kMaxNetworkAddress) return false;
    const std::vector<std::string_view> labels = Labels(address);
    const bool bAllNumbers = std::all_of(labels.begin(), labels.end(), [](std::string_view label) {
        return !label.empty() && std::all_of(label.begin(), label.end(), IsDigit);
    });
    // Numbers alone must make an IPv4 address: 192.0.2 or 192.0.2.300 is no host name either.
    if (bAllNumbers) return labels.size() == 4 && std::all_of(labels.begin(), labels.end(), IsDecimalOctet);
    return std::all_of(labels.begin(), labels.end(), IsHostLabel);
}

bool ParseTcpPortNumber(std::string_view text, unsigned& nPort) {
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), IsDigit)) return false;
    const unsigned long nValue = PortNumber(text);
    if (nValue < 1 || nValue > 65535) return false;
    nPort = static_cast<unsigned>(nValue);
    return true;
}

PortChoice NetworkPortChoice(std::string_view address, unsigned nPort) {
    PortChoice choice;
    choice.strPort = "IP_" + std::string(address);
    choice.strNetworkAddress = std::string(address);
    choice.nNetworkPort = nPort;
    return choice;
}

PortValue ReadPortValue(std::string_view value, const std::vector<SpoolerPort>& offered, PortChoice& choice) {
    if (StartsWithIgnoringCase(value, "IP:")) {
        const std::string_view rest = value.substr(3);
        const std::size_t nColon = rest.find(':');
        const std::string_view address = rest.substr(0, nColon);
        unsigned nPort = kRawPrintingPort;
        if (!IsValidNetworkAddress(address)) return PortValue::Malformed;
        if (nColon != std::string_view::npos && !ParseTcpPortNumber(rest.substr(nColon + 1), nPort))
            return PortValue::Malformed;
        choice = NetworkPortChoice(address, nPort);
        return PortValue::Chosen;
    }
    if (value.empty()) return PortValue::Malformed;
    for (const SpoolerPort& port : offered) {
        if (!SamePort(port.strName, value)) continue;
        choice = PortChoice();
        choice.strPort = port.strName;
        return PortValue::Chosen;
    }
    return PortValue::Unknown;
}
