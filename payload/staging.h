// The staging directory as a place nobody else can change under us. Any local user may create
// and fill "C:\TEMP" on the systems we support, and the files staged there are handed to the
// spooler, which loads them as SYSTEM. So every staged file is written by this run with an
// access list of its own, then held open so that nobody else can write, delete or rename it,
// and its bytes are verified through the held handle, until the print UI has ended. Its
// directories are held as long, so that none can be renamed away and replaced by a link.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/scoped_handle.h"

// The identity of a file or directory on its volume.
struct FileIdentity {
    DWORD dwVolume = 0;
    DWORD dwIndexHigh = 0;
    DWORD dwIndexLow = 0;
    bool operator==(const FileIdentity& other) const {
        return dwVolume == other.dwVolume && dwIndexHigh == other.dwIndexHigh && dwIndexLow == other.dwIndexLow;
    }
};

class CStagingArea {
public:
    CStagingArea() = default;
    CStagingArea(const CStagingArea&) = delete;
    CStagingArea& operator=(const CStagingArea&) = delete;
    // Releases the held files and directories; deletes nothing.
    ~CStagingArea() = default;

    // Makes each directory (in order; a parent before its children) a real directory held
    // open until DeleteWritten, so that it can be neither renamed nor removed: a missing one is
    // created so that only Administrators and SYSTEM may change it. An existing one is used as
    // it is when it is the first (the staging directory C:\TEMP, which other programs use too:
    // only what this run creates inside it is protected); any other that someone else owns or
    // may change is taken over and reset to that access list first. False when one is a file,
    // a junction or a symbolic link, or cannot be created, held or made safe.
    bool PrepareDirectories(const std::vector<std::string>& directories);

    // Writes cbSize bytes to a new file at strPath (a file or link of that name this user may
    // delete goes first; nothing is ever written through it), then holds it
    // open for reading only, sharing it for reading only, and verifies its bytes through that
    // handle. False when the file cannot be written (held open by another process, a
    // directory of that name), held, or does not hold exactly these bytes; a file that could
    // not be written is left as it is. Every file written is deleted by DeleteWritten.
    bool Stage(const std::string& strPath, const void* pData, unsigned long cbSize);

    // True when every held file and directory is still the one at its path.
    bool StillInPlace() const;

    // Lets go of the held files (the directories stay held): the print UI has ended.
    void ReleaseFiles();

    // Deletes the files this run wrote while their directories are still held (so no link can
    // have taken a directory's place), lets go of the directories, then removes those it
    // created that are empty.
    void DeleteWritten();

private:
    struct Held {
        std::string strPath;
        CFileHandle handle;
        FileIdentity identity;
    };
    std::vector<Held> m_heldDirectories;
    std::vector<Held> m_heldFiles;
    std::vector<std::string> m_written;
    std::vector<std::string> m_createdDirectories;
};

// Deletes the file at strPath while its directory is held: that must be a real directory (not a
// junction or symbolic link), so the deletion never reaches into what a link points to. A link
// at the file's name is deleted itself. False when nothing was deleted.
bool DeleteInRealDirectory(const std::string& strPath);

// Whether a directory's security lets only Administrators, SYSTEM and pSelf (the installing
// administrator) change it: its owner is one of them, and no access entry gives anyone else the
// right to add, delete, rename or write, or to change its permissions or owner. A missing
// access list (everyone may do anything) is not safe.
bool OnlyAdministratorsMayChange(PSECURITY_DESCRIPTOR pDescriptor, PSID pSelf);

// For tests only: called with each staged file's path between its writing and its holding,
// the moment another process could replace it. An empty function restores the default.
void SetStagingWindowHookForTesting(std::function<void(const std::string& strPath)> hook);
