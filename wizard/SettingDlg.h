// The printer settings page: the series list, which holds Next back on the first visit
// until a series is chosen, the default-printer box and the name the choice fills in (those
// values stay on the page), and the port the printer goes on, published in g_PortChoice.
#pragma once

#include <string>
#include <vector>

#include "payload/printer_ports.h"
#include "res/resource.h"
#include "wizard/NewWizPage.h"

class CSettingDlg : public CNewWizPage {
public:
    enum { IDD = IDD_SETTING };  // the page's template, and its id in the wizard

    CSettingDlg();

    CListBox m_listSeries;
    int m_bSetDefault = 1;
    std::string m_strPrinterName;
    CComboBox m_comboPort;
    std::string m_strNetworkAddress;
    std::string m_strPortNumber;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(int nID, int nNotifyCode, HWND hControl) override;
    void OnShowWindow(bool bShow, UINT nStatus) override;
    // Publishes the chosen port; a network printer's address or port number that is not valid
    // is refused with a message, and the page stays.
    int OnWizardNext() override;

private:
    // The spooler's device ports (USB printer ports with their description), then "Network
    // printer"; g_PortChoice selected, or LPT1: when it is not among them.
    void FillPortList();
    bool IsNetworkSelected() const;
    // The address and port number take input only for a network printer.
    void EnableNetworkFields() const;

    std::vector<std::string> m_portNames;  // the offered ports by list index; "Network printer" follows
};

// The port the printer goes on: what the start-up preselects (or reads from the command line
// or the setting file), then what the settings page chose when Next left it.
extern PortChoice g_PortChoice;
