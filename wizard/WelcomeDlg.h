// The wizard's first page: the welcome picture and four lines of greeting.
#pragma once

#include "res/resource.h"
#include "wizard/NewWizPage.h"

class CWelcomeDlg : public CNewWizPage {
public:
    enum { IDD = IDD_WELCOME };  // the page's template, and its id in the wizard

    CWelcomeDlg();

protected:
    BOOL OnInitDialog() override;
};
