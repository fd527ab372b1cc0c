// The program's entry: all of its work is the application object's, once no DLL can be taken
// from the program's folder or the current directory any more.
#include "framework/system_dlls.h"
#include "shell/setup.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    RestrictDllSearchPath();
    return theApp.Run(hInstance);
}
