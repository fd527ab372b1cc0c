// The staging directory as a place nobody else can change under us. Any local user may create
// and fill "C:\TEMP" on the systems we support, and the files staged there are handed to the
// spooler, which loads them as SYSTEM. So every staged file is written by this run, then held
// open so that nobody else can write, delete or rename it, and its bytes are verified through
// the held handle, until the registration has ended.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/scoped_handle.h"

class CStagingArea {
public:
    CStagingArea() = default;
    CStagingArea(const CStagingArea&) = delete;
    CStagingArea& operator=(const CStagingArea&) = delete;
    // Releases the held files and directories; deletes nothing.
    ~CStagingArea() = default;

    // Makes each directory (in order; a parent before its children) a real directory held
    // open until Release: an existing one is used, a missing one is created so that only
    // Administrators and SYSTEM may write to it. False when one is a file, a junction or a
    // symbolic link, or cannot be created or held.
    bool PrepareDirectories(const std::vector<std::string>& directories);

    // Writes cbSize bytes to a new file at strPath (a file or link of that name this user may
    // delete goes first; nothing is ever written through it), then holds it
    // open for reading only, sharing it for reading only, and verifies its bytes through that
    // handle. False when the file cannot be written (held open by another process, a
    // directory of that name), held, or does not hold exactly these bytes; a file that could
    // not be written is left as it is. Every file written is deleted by DeleteWritten.
    bool Stage(const std::string& strPath, const void* pData, unsigned long cbSize);

    // Lets go of every held file and directory: the registration has ended, or the run gave up.
    void Release();

    // Deletes the files this run wrote (after Release), then the directories it created that
    // are empty.
    void DeleteWritten();

private:
    std::vector<CFileHandle> m_heldDirectories;
    std::vector<CFileHandle> m_heldFiles;
    std::vector<std::string> m_written;
    std::vector<std::string> m_createdDirectories;
};

// For tests only: called with each staged file's path between its writing and its holding,
// the moment another process could replace it. An empty function restores the default.
void SetStagingWindowHookForTesting(std::function<void(const std::string& strPath)> hook);
