/* Loads every DLL named on the command line into this 64-bit process, as the 64-bit spooler
   loads a driver's plug-ins. Prints each one that does not load with the error, and exits with
   the number of those (0: all loaded). */
#include <windows.h>
#include <stdio.h>

int main(int argc, char** argv) {
    int nFailed = 0;
    for (int i = 1; i < argc; ++i) {
        HMODULE hModule = LoadLibraryA(argv[i]);
        if (!hModule) {
            printf("cannot load %s: error %lu\n", argv[i], GetLastError());
            ++nFailed;
            continue;
        }
        FreeLibrary(hModule);
    }
    return nFailed;
}
