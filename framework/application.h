// The application object of a dialog-based program: WinMain hands control to the one
// instance, whose InitInstance runs the whole program and answers false to end it.
#pragma once

#include <windows.h>

#include <string>

class CDialog;

class CApplication {
public:
    CApplication();
    virtual ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // Called once by Run. The programs built on this layer do all their work here and
    // return FALSE, so no message loop of the application's own is entered.
    virtual BOOL InitInstance() { return FALSE; }

    // The body of WinMain: records the instance and runs InitInstance. Returns the exit code:
    // 1 when InitInstance answers TRUE, else the one SetExitCode gave (0 unless set).
    int Run(HINSTANCE hInstance);
    void SetExitCode(int nExitCode) { m_nExitCode = nExitCode; }
    int GetExitCode() const { return m_nExitCode; }

    HINSTANCE GetInstance() const { return m_hInstance; }

    // The title of the application's message boxes: the program file's name without its
    // extension ("setup" for setup.exe).
    std::string GetTitle() const;

    // The one application object of the process, or null before it is constructed.
    static CApplication* GetCurrent() { return s_pCurrent; }
    // The module whose resources the dialogs are drawn from: the running program's.
    static HINSTANCE GetResourceInstance();

    // The main window's handle, or null while there is none.
    HWND GetMainWindow() const;

    // The main window: message boxes are owned by it, and requests to quit are posted to it.
    CDialog* m_pMainWnd = nullptr;

private:
    HINSTANCE m_hInstance;
    int m_nExitCode = 0;
    CApplication* m_pPrevious;  // current again once this one is gone (tests stack them)
    static CApplication* s_pCurrent;
};

// The full path of the running program's file, or an empty string when it does not fit
// in MAX_PATH characters.
std::string GetProgramFilePath();

// The running program's file name without its folder ("setup.exe").
std::string GetProgramFileName();

// The process's command line without the program's name (quoted or not) and the blanks after it.
std::string GetCommandArguments();
