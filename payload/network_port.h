// The Standard TCP/IP port a network printer is put on: made before the printer is registered,
// removed again when nothing uses it. Both go through the port monitor's own operations
// (XcvData on ",XcvMonitor Standard TCP/IP Port"), which only administrators may call.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "payload/printer_ports.h"

// The name through which the spooler opens the monitor.
inline constexpr char kTcpIpMonitor[] = ",XcvMonitor Standard TCP/IP Port";

enum class NetworkPort { Created, Reused, Failed };

// Makes the choice's port: raw printing on its port number, SNMP off. A port of that name that
// the spooler already lists is reused as it is. Failed when the ports cannot be listed, or the
// monitor is missing (Wine has none) or refuses.
NetworkPort MakeNetworkPort(const PortChoice& choice);

// Deletes the Standard TCP/IP port. False when the monitor is missing or refuses.
bool DeleteNetworkPort(std::string_view portName);

// For tests only: every monitor operation goes to recorder instead of the spooler, with the
// name the monitor is opened by, the operation ("AddPort", "DeletePort") and the input bytes;
// it answers with the operation's status (0: done). An empty function restores the spooler.
using PortMonitorRecorder =
    std::function<unsigned long(const std::string& strMonitor, const std::string& strOperation,
                                const std::vector<unsigned char>& input)>;
void RecordPortMonitorForTesting(PortMonitorRecorder recorder);
