// The serial ports' settings that the driver's INF writes (AddReg), set to another value while
// an object lives and put back as the prefix had them when it ends.
#pragma once

#include <string>
#include <vector>

class CSerialPortSettings {
public:
    // Sets COM1: to COM4: to "9600,n,8,1"; a test failure when the key cannot be written.
    CSerialPortSettings();
    ~CSerialPortSettings();
    CSerialPortSettings(const CSerialPortSettings&) = delete;
    CSerialPortSettings& operator=(const CSerialPortSettings&) = delete;

    // "COM1:=VALUE" for each port, VALUE as ReadMachineValue gives it (with its terminator),
    // followed by "(REG_SZ)" when it is one.
    static std::vector<std::string> Current();

private:
    std::vector<std::string> m_before;
};

// What the driver's INF sets: 38400 baud, no parity, 8 data bits, 1 stop bit, hardware
// handshake, on COM1: to COM4:.
inline std::vector<std::string> ExpectedSerialPorts() {
    const std::string strValue = std::string("38400,n,8,1,p", 14) + "(REG_SZ)";
    return {"COM1:=" + strValue, "COM2:=" + strValue, "COM3:=" + strValue, "COM4:=" + strValue};
}
