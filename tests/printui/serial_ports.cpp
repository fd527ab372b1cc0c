#include "serial_ports.h"

#include <gtest/gtest.h>

#include "framework/scoped_handle.h"
#include "test_support.h"

namespace {

constexpr char kPorts[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
const char* const kSerialPorts[] = {"COM1:", "COM2:", "COM3:", "COM4:"};

bool OpenPorts(CRegistryKey& key) {
    return ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPorts, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(),
                             nullptr) == ERROR_SUCCESS;
}

}  // namespace

CSerialPortSettings::CSerialPortSettings() {
    CRegistryKey key;
    EXPECT_TRUE(OpenPorts(key)) << kPorts;
    for (const char* pszPort : kSerialPorts) {
        m_before.push_back(ReadMachineValue(kPorts, pszPort));
        EXPECT_EQ(::RegSetValueExA(key.GetUnsafe(), pszPort, 0, REG_SZ, reinterpret_cast<const BYTE*>("9600,n,8,1"),
                                   11),
                  ERROR_SUCCESS);
    }
}

CSerialPortSettings::~CSerialPortSettings() {
    CRegistryKey key;
    if (!OpenPorts(key)) return;
    for (std::size_t i = 0; i < m_before.size(); ++i) {
        if (m_before[i] == "<no value>" || m_before[i] == "<no key>")
            ::RegDeleteValueA(key.GetUnsafe(), kSerialPorts[i]);
        else
            ::RegSetValueExA(key.GetUnsafe(), kSerialPorts[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(m_before[i].data()),
                             static_cast<DWORD>(m_before[i].size()));
    }
}

std::vector<std::string> CSerialPortSettings::Current() {
    std::vector<std::string> values;
    for (const char* pszPort : kSerialPorts) {
        DWORD dwType = 0;
        const std::string strValue = ReadMachineValue(kPorts, pszPort, &dwType);
        values.push_back(std::string(pszPort) + "=" + strValue + (dwType == REG_SZ ? "(REG_SZ)" : ""));
    }
    return values;
}
