// The paths and names an installation is built from, said once for the installer, the
// uninstaller and their tests. Portable.
#pragma once

// The staging directory and its two subdirectories, in the order they are created and filled.
inline constexpr char kStagingDirectory[] = "C:\\TEMP";
inline constexpr const char* kStagingPlaces[] = {"C:\\TEMP", "C:\\TEMP\\I386", "C:\\TEMP\\x86"};
// On 64-bit Windows: the staging directory and the one subdirectory the INF takes the x64
// plug-ins from.
inline constexpr const char* kStagingPlacesX64[] = {"C:\\TEMP", "C:\\TEMP\\amd64"};

// Holds the unpatched bytes between the two steps of a patched extraction. Written, never
// trusted: nothing is read back from it that was not just written.
inline constexpr char kPatchTempFile[] = "c:\\temp\\temp.txt";

// The spooler environment of the driver and of every driver-directory query and deletion: on
// 32-bit Windows, and on 64-bit Windows (where this 32-bit program runs under WoW64).
inline constexpr char kDriverEnvironment[] = "Windows NT x86";
inline constexpr char kDriverEnvironmentX64[] = "Windows x64";

// The model the INF installs: the base name of its printers, the driver's name and the text
// printer searches and the stale-INF clean-up look for, whatever the setting file calls the
// printer.
inline constexpr char kModelName[] = "Q73";

// The printer name when the setting file names none, or one that cannot be used.
inline constexpr char kDefaultPrinterName[] = "Q73";

// The port the install command puts the printer on unless another is chosen.
inline constexpr char kPrinterPort[] = "LPT1:";

// The paper form the driver's GPD defines, removed before an install and by the uninstaller.
inline constexpr char kPaperFormName[] = "papersize(80x297mm)";
