/* Loads every DLL named on its command line by its name alone, as a program that trusts the
   standard search does: the control that shows a planted DLL beside a program is found and
   leaves its mark. Exits with the number of DLLs that loaded. */
#include <windows.h>

int main(int argc, char** argv) {
    int nLoaded = 0;
    int i;
    for (i = 1; i < argc; ++i) {
        if (LoadLibraryA(argv[i])) ++nLoaded;
    }
    return nLoaded;
}
