// The uninstaller that the installer stages beside the driver and names in the system's list
// of installed programs. This first version only says what it is.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ::MessageBoxA(nullptr,
                  "Q73 printer driver uninstaller.\r\n\r\n"
                  "This version does not remove the driver yet: remove the printer from the "
                  "Printers folder instead.",
                  "Q73 printer driver uninstall", MB_OK | MB_ICONINFORMATION);
    return 0;
}
