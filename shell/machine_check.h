// The processors the driver has versions for: x86 and x64. On any other (ARM64 Windows, which
// runs this x86 program through emulation) the print UI finds no model for its platform, so
// the program stops before it changes anything.
#pragma once

class CApplication;

// The exit code of a run that stops because the system cannot take the driver (the code an
// installation that fails reports).
constexpr int kUnsupportedSystemExitCode = 1603;

// True on an x86 or x64 system. Otherwise tells the user, in the system's language, that the
// driver has no version for this system, sets app's exit code and answers false.
bool CheckSystemTakesTheDriver(CApplication& app);
