// Whether a program of another process shows a wizard page that is fully painted, as the
// benchmark's start-up measure defines it. Works for any dialog-based installer: ours, and
// NSIS's Modern UI, whose pages are child dialogs of the installer's window alike.
#pragma once

#include <windows.h>

// A visible top-level window of process dwProcessId that holds a visible child dialog (a
// page) with at least one visible control, and of which no visible part waits to be painted
// (an empty update region for the window and every visible descendant). Null otherwise.
HWND FindPaintedPage(DWORD dwProcessId);
