// The command line that deployment tools give setup.exe and the uninstaller, and the exit codes
// both programs answer with. Portable.
#pragma once

#include <string>
#include <string_view>

// The exit codes deployment tools know from Windows Installer packages.
enum ExitCode : int {
    kExitSuccess = 0,
    kExitBadArgument = 87,       // an unknown or malformed argument
    kExitCancelled = 1602,       // the user cancelled
    kExitFailed = 1603,          // the installation or removal failed
    kExitAlreadyRunning = 1618,  // another setup or uninstaller of the printer is running
    kExitRestartNeeded = 3010,   // done, but a driver file changes only at the next restart
};

// The two programs that take these arguments; only setup.exe takes /PORT=.
enum class DeployProgram { Setup, Uninstaller };

// What the arguments ask for. Switches are matched without regard to case.
struct DeployOptions {
    bool bSilent = false;     // /S, /VERYSILENT or /quiet: no window, no message box, no restart
    bool bUsage = false;      // /?
    std::string strLogPath;   // /LOG=path (quotes removed); empty when not asked
    std::string strPort;      // /PORT=value (payload/printer_ports.h); empty when not given
    std::string strBadArgument;  // the first argument that is unknown or malformed; empty when none

    bool IsValid() const { return strBadArgument.empty(); }
};

// Parses the arguments that follow the program's name, split as the C runtime splits them for
// paths: blanks separate, double quotes group and are dropped. /SUPPRESSMSGBOXES and /NORESTART
// are accepted and change nothing (no message box is ever shown silently, and neither program
// restarts the system). An empty /LOG= is malformed, and so is a /PORT= value that is empty or
// a network printer's that is not valid; whether a port name is one the spooler offers is only
// known on the running system.
DeployOptions ParseDeployOptions(std::string_view arguments, DeployProgram program = DeployProgram::Setup);
