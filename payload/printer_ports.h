// Which port the new printer goes on: the ports the settings page offers and in what order, the
// one it preselects, network addresses, and the port values that deployment tools give. Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "payload/install_constants.h"

// A port as the spooler lists it.
struct SpoolerPort {
    std::string strName;
    std::string strDescription;
};

// What a port name says it is. A USB printer port is "USB" and digits (the spooler's USB001,
// USB002, ...); serial and parallel ports are "COM" or "LPT" and digits, with or without a
// colon. No device: FILE:, NUL:, PORTPROMPT:, XPSPort:, SHRFAX:, the Ne00: style redirections,
// file paths and network shares (any name with a slash or backslash), a name with a double quote
// (it could not be quoted on a command line) and an empty name.
enum class PortKind { Usb, Serial, Parallel, OtherDevice, NoDevice };
PortKind ClassifyPort(std::string_view name);

// The device ports among the spooler's, in the order the settings page lists them: USB, serial,
// parallel, then the other device ports (a TCP/IP port, for one); each kind in the order of its
// number (COM2 before COM10), the others in the spooler's order. LPT1: is always among them,
// even where the spooler lists no such port.
std::vector<SpoolerPort> OfferedPorts(std::vector<SpoolerPort> ports);

// Every port some printer uses: the spooler gives a printer's ports as one text, separated by
// commas when the printer is pooled over several.
std::vector<std::string> PortsInUse(const std::vector<std::string>& printerPortTexts);

// Whether the list names the port, its letter case and a trailing colon aside.
bool ContainsPort(const std::vector<std::string>& ports, std::string_view port);

// The port the settings page preselects: the one USB port of the offered ones that no printer
// uses, when there is exactly one such port; otherwise LPT1:.
std::string PreselectedPort(const std::vector<SpoolerPort>& offered, const std::vector<std::string>& portsInUse);

// The port number of a network printer unless told otherwise (raw printing, as receipt printers
// take it).
inline constexpr unsigned kRawPrintingPort = 9100;
// The longest network address: what the Standard TCP/IP port monitor keeps of a host name.
inline constexpr std::size_t kMaxNetworkAddress = 48;

// An IPv4 address in dotted decimal (four numbers 0 to 255, without leading zeros, which some
// readers take for octal) or a host name (letters, digits and hyphens in dot-separated labels of
// 1 to 63 characters, no label beginning or ending with a hyphen, not all numbers), at most
// kMaxNetworkAddress characters.
bool IsValidNetworkAddress(std::string_view address);

// A TCP port number: decimal, 1 to 65535, no sign or blank. nPort is set only when valid.
bool ParseTcpPortNumber(std::string_view text, unsigned& nPort);

// The port a printer is put on.
struct PortChoice {
    std::string strPort = kPrinterPort;  // the spooler's name of the port: the install command's /r
    std::string strNetworkAddress;       // for a network printer only: its address
    unsigned nNetworkPort = kRawPrintingPort;

    bool IsNetwork() const { return !strNetworkAddress.empty(); }
};

// The Standard TCP/IP port a network printer is put on: "IP_" followed by the address.
PortChoice NetworkPortChoice(std::string_view address, unsigned nPort);

// Reads a port value of the command line (/PORT=) or the setting file (Port=): "IP:" with an
// address and an optional ":" and port number (IP:192.0.2.10, IP:printer-7:9101), or the name
// of an offered port in any letter case, its trailing colon optional (USB001, com3:, LPT1).
// Malformed: empty, or a network value that is not valid; Unknown: a name that is not offered.
enum class PortValue { Chosen, Malformed, Unknown };
PortValue ReadPortValue(std::string_view value, const std::vector<SpoolerPort>& offered, PortChoice& choice);
