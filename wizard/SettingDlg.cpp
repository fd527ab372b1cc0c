#include "wizard/SettingDlg.h"

#include "framework/application.h"
#include "framework/data_exchange.h"
#include "framework/user_notifications.h"
#include "payload/spooler.h"
#include "res/resource.h"
#include "wizard/NewWizDialog.h"
#include "wizard/dialog_strings.h"
#include "wizard/port_texts.h"

PortChoice g_PortChoice;

namespace {
constexpr char kSeries[] = "80mm series";

std::string Trimmed(const std::string& strText) {
    const std::size_t nFirst = strText.find_first_not_of(" \t");
    if (nFirst == std::string::npos) return std::string();
    return strText.substr(nFirst, strText.find_last_not_of(" \t") - nFirst + 1);
}
}  // namespace

CSettingDlg::CSettingDlg() : CNewWizPage(IDD) {}

void CSettingDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, IDC_SERIES_LIST, m_listSeries);
    DDX_Check(dx, IDC_SET_DEFAULT, m_bSetDefault);
    DDX_Text(dx, IDC_PRINTER_NAME, m_strPrinterName);
    DDX_Control(dx, IDC_PORT_LIST, m_comboPort);
    DDX_Text(dx, IDC_NETWORK_ADDRESS, m_strNetworkAddress);
    DDX_Text(dx, IDC_PORT_NUMBER, m_strPortNumber);
}

BOOL CSettingDlg::OnInitDialog() {
    CNewWizPage::OnInitDialog();
    UpdateData(true);  // the template's clear box and empty name replace the constructor's values
    m_listSeries.AddString(kSeries);
    GetFrame()->EnableNext(m_listSeries.GetCurSel() != LB_ERR);
    g_SetDialogStrings(m_hWnd, IDD);
    const PortTexts& texts = PortTextsFor(ActiveLanguageVariant());
    ::SetDlgItemTextA(m_hWnd, IDC_PORT_LABEL, texts.pszPortLabel);
    ::SetDlgItemTextA(m_hWnd, IDC_ADDRESS_LABEL, texts.pszAddressLabel);
    ::SetDlgItemTextA(m_hWnd, IDC_PORT_NUMBER_LABEL, texts.pszPortNumberLabel);
    ::SendDlgItemMessageA(m_hWnd, IDC_NETWORK_ADDRESS, EM_LIMITTEXT, kMaxNetworkAddress, 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_PORT_NUMBER, EM_LIMITTEXT, 5, 0);
    FillPortList();
    return TRUE;
}

void CSettingDlg::FillPortList() {
    const PortOffer offer = ReadPortOffer();
    int nSelection = -1;
    for (const SpoolerPort& port : offer.offered) {
        const bool bUsb = ClassifyPort(port.strName) == PortKind::Usb && !port.strDescription.empty();
        m_comboPort.AddString((bUsb ? port.strName + " (" + port.strDescription + ")" : port.strName).c_str());
        if (port.strName == g_PortChoice.strPort || (nSelection < 0 && port.strName == kPrinterPort))
            nSelection = static_cast<int>(m_portNames.size());
        m_portNames.push_back(port.strName);
    }
    m_comboPort.AddString(PortTextsFor(ActiveLanguageVariant()).pszNetworkPrinter);
    if (g_PortChoice.IsNetwork()) nSelection = static_cast<int>(m_portNames.size());
    m_comboPort.SetCurSel(nSelection);
    const PortChoice network = g_PortChoice.IsNetwork() ? g_PortChoice : PortChoice();
    ::SetDlgItemTextA(m_hWnd, IDC_NETWORK_ADDRESS, network.strNetworkAddress.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_PORT_NUMBER, std::to_string(network.nNetworkPort).c_str());
    EnableNetworkFields();
}

bool CSettingDlg::IsNetworkSelected() const {
    return m_comboPort.GetCurSel() == static_cast<int>(m_portNames.size());
}

void CSettingDlg::EnableNetworkFields() const {
    for (int nID : {IDC_ADDRESS_LABEL, IDC_NETWORK_ADDRESS, IDC_PORT_NUMBER_LABEL, IDC_PORT_NUMBER})
        ::EnableWindow(::GetDlgItem(m_hWnd, nID), IsNetworkSelected());
}

bool CSettingDlg::OnCommand(int nID, int nNotifyCode, HWND) {
    if (nID == IDC_PORT_LIST && nNotifyCode == CBN_SELCHANGE) {
        EnableNetworkFields();
        return true;
    }
    if (nID != IDC_SERIES_LIST || nNotifyCode != LBN_SELCHANGE) return false;
    GetFrame()->EnableNext(true);
    if (m_listSeries.GetCurSel() == 0) m_strPrinterName = kSeries;
    UpdateData(false);
    return true;
}

void CSettingDlg::OnShowWindow(bool, UINT) { UpdateData(true); }

int CSettingDlg::OnWizardNext() {
    UpdateData(true);
    if (!IsNetworkSelected()) {
        const int nSelection = m_comboPort.GetCurSel();
        g_PortChoice = PortChoice();
        if (nSelection >= 0) g_PortChoice.strPort = m_portNames[static_cast<std::size_t>(nSelection)];
        return 0;
    }
    const std::string strAddress = Trimmed(m_strNetworkAddress);
    unsigned nPort = 0;
    const bool bAddressValid = IsValidNetworkAddress(strAddress);
    if (!bAddressValid || !ParseTcpPortNumber(Trimmed(m_strPortNumber), nPort)) {
        const CApplication* pApp = CApplication::GetCurrent();
        UserNotifications().ShowMessage(GetFrame()->GetSafeHwnd(), PortTextsFor(ActiveLanguageVariant()).pszBadAddress,
                                        pApp ? pApp->GetTitle().c_str() : "", MB_OK | MB_ICONWARNING);
        ::SetFocus(::GetDlgItem(m_hWnd, bAddressValid ? IDC_PORT_NUMBER : IDC_NETWORK_ADDRESS));
        return -1;
    }
    g_PortChoice = NetworkPortChoice(strAddress, nPort);
    return 0;
}
