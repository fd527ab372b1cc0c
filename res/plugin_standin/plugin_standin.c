/* A stand-in for one of the printer maker's x64 plug-ins, embedded by test builds only: a real
   x86-64 DLL that loads and does nothing, so that a 64-bit spooler or a test can load what the
   x64 set installs. Its version resource (plugin_standin.rc.in) says what it stands in for. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pReserved) {
    (void)hInstance;
    (void)dwReason;
    (void)pReserved;
    return TRUE;
}
