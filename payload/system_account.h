// Whether this process runs as the local SYSTEM account, as deployment services install for
// all users. Per-user settings, such as the default printer, do not belong to anyone there.
#pragma once

#include <vector>

bool IsRunningAsLocalSystem();

// This process's TOKEN_USER record (the user's SID inside it); empty when it cannot be read.
std::vector<unsigned char> ProcessTokenUser();

// For tests only: bSystem (1 or 0) is answered instead of asking the process token; -1 asks it
// again. Returns the previous setting.
int ReplaceLocalSystemForTesting(int nSystem);
