#include "framework/data_exchange.h"

#include <cassert>
#include <vector>

#include "framework/controls.h"
#include "framework/dialog.h"

HWND CDataExchange::Control(int nID) const {
    HWND hControl = m_dialog.GetDlgItem(nID);
    assert(hControl && "data exchange with a control the template lacks");
    return hControl;
}

namespace {

bool IsRadioButton(HWND hWnd) {
    return (::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

// The buttons of the group that starts with hFirst, in z-order.
std::vector<HWND> RadioGroup(HWND hFirst) {
    std::vector<HWND> buttons;
    for (HWND hWnd = hFirst; hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (hWnd != hFirst && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_GROUP)) break;
        if (IsRadioButton(hWnd)) buttons.push_back(hWnd);
    }
    return buttons;
}

}  // namespace

void DDX_Radio(CDataExchange& dx, int nIDFirst, int& nValue) {
    const std::vector<HWND> buttons = RadioGroup(dx.Control(nIDFirst));
    if (dx.IsSaving()) nValue = -1;
    for (size_t i = 0; i < buttons.size(); ++i) {
        const int nIndex = static_cast<int>(i);
        if (!dx.IsSaving()) {
            ::SendMessageA(buttons[i], BM_SETCHECK, nIndex == nValue ? BST_CHECKED : BST_UNCHECKED, 0);
        } else if (::SendMessageA(buttons[i], BM_GETCHECK, 0, 0) == BST_CHECKED && nValue == -1) {
            nValue = nIndex;
        }
    }
}

void DDX_Check(CDataExchange& dx, int nID, int& nValue) {
    HWND hControl = dx.Control(nID);
    if (dx.IsSaving())
        nValue = static_cast<int>(::SendMessageA(hControl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(hControl, BM_SETCHECK, static_cast<WPARAM>(nValue), 0);
}

void DDX_Text(CDataExchange& dx, int nID, std::string& strValue) {
    HWND hControl = dx.Control(nID);
    if (dx.IsSaving())
        strValue = GetWindowTextString(hControl);
    else
        ::SetWindowTextA(hControl, strValue.c_str());
}

void DDX_Control(CDataExchange& dx, int nID, CControl& control) {
    if (!control.GetSafeHwnd()) control.Attach(dx.Control(nID));
}
