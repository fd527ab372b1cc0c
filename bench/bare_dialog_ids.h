// The bare dialog's template ids.
#pragma once

#define IDD_BARE_FRAME 100
#define IDD_BARE_PAGE 101
