// Whether this process runs as the local SYSTEM account, as deployment services install for
// all users. Per-user settings, such as the default printer, do not belong to anyone there.
#pragma once

bool IsRunningAsLocalSystem();

// For tests only: bSystem (1 or 0) is answered instead of asking the process token; -1 asks it
// again. Returns the previous setting.
int ReplaceLocalSystemForTesting(int nSystem);
