// Deleting the copies of this model's INF that installations leave in the Windows INF folder.
#pragma once

// Deletes oem0.inf to oem99.inf, each with its .pnf, when it is a copy of this model's INF.
// Failures are ignored.
void DeleteStaleModelInfs();
