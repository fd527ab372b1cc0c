// The program's entry: all of its work is the application object's.
#include "shell/setup.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) { return theApp.Run(hInstance); }
