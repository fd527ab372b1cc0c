/* A DLL named like a system DLL (PLANTED_NAME: "winspool.drv", "comctl32.dll", ...), to be
   placed beside a program. Loading it leaves a mark, C:\q73tests\planted-<PLANTED_NAME>.txt,
   holding the loading program's path, and then fails, so that no code of it stays in the
   process. Nothing else. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pReserved) {
    char szProgram[MAX_PATH] = {0};
    DWORD cchProgram;
    HANDLE hMark;
    (void)hInstance;
    (void)pReserved;
    if (dwReason != DLL_PROCESS_ATTACH) return TRUE;
    cchProgram = GetModuleFileNameA(NULL, szProgram, MAX_PATH);
    CreateDirectoryA("C:\\q73tests", NULL);
    hMark = CreateFileA("C:\\q73tests\\planted-" PLANTED_NAME ".txt", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, NULL);
    if (hMark != INVALID_HANDLE_VALUE) {
        DWORD cbWritten = 0;
        WriteFile(hMark, szProgram, cchProgram < MAX_PATH ? cchProgram : 0, &cbWritten, NULL);
        CloseHandle(hMark);
    }
    return FALSE;
}
