// The printer name an uninstaller was built for, read from its own file name. Portable.
#pragma once

#include <string>
#include <string_view>

// P of "uninstall" + P + ".exe" (the path's directory ignored, and the letter case of
// "uninstall" and ".exe"); empty for a name of another form.
std::string PrinterNameFromUninstallerPath(std::string_view path);
