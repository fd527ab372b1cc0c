// The wizard's first page: the welcome picture and four lines of greeting.
#pragma once

#include "NewWizPage.h"

class CWelcomeDlg : public CNewWizPage {
public:
    CWelcomeDlg();

protected:
    BOOL OnInitDialog() override;
};
