// Data exchange between a dialog's controls and the fields of its object, in the direction
// the dialog's UpdateData asks for.
#pragma once

#include <windows.h>

#include <string>

class CControl;
class CDialog;

class CDataExchange {
public:
    CDataExchange(const CDialog& dialog, bool bSaveAndValidate)
        : m_dialog(dialog), m_bSaveAndValidate(bSaveAndValidate) {}

    // True: controls to fields.
    bool IsSaving() const { return m_bSaveAndValidate; }
    // The control nID of the dialog; a missing control is a programming error.
    HWND Control(int nID) const;

private:
    const CDialog& m_dialog;
    const bool m_bSaveAndValidate;
};

// The radio group that starts at control nIDFirst and runs up to the next control with the
// group style: the index of the checked button, -1 for none.
void DDX_Radio(CDataExchange& dx, int nIDFirst, int& nValue);
// A check box: 0 clear, 1 ticked, 2 indeterminate.
void DDX_Check(CDataExchange& dx, int nID, int& nValue);
// A control's window text.
void DDX_Text(CDataExchange& dx, int nID, std::string& strValue);
// Binds the control object to control nID (in both directions).
void DDX_Control(CDataExchange& dx, int nID, CControl& control);
