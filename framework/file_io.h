// Whole-file reads and writes through the ANSI file API.
#pragma once

#include <windows.h>

#include <string>

// Creates or truncates pszPath (write access, no sharing while it is written) and writes
// cbData bytes. True only when the file was created and every byte was written. A file
// that could not be created is left as it was; a short write leaves what was written.
bool WriteWholeFile(const char* pszPath, const void* pData, DWORD cbData);

// Deletes pszPath when it is a file (a link: the link itself) and creates a new file there
// (no sharing while it is written), never writing through what was there; then writes cbData
// bytes. False when the name cannot be freed, the file created, or every byte written. For
// places other users may write to.
bool WriteNewFile(const char* pszPath, const void* pData, DWORD cbData);

// Writes all cbData bytes to an open file. False on a failed or short write.
bool WriteFileFully(HANDLE hFile, const void* pData, DWORD cbData);

// Reads the whole file into strContents. False when it cannot be opened or read.
bool ReadWholeFile(const char* pszPath, std::string& strContents);

// Deletes the file at pszPath itself. A junction or symbolic link at that name is never followed:
// its target is never touched. Where a link cannot be told by its attributes (a name that does
// not lead straight to its file, as Wine's Unix links), it is left alone. False when nothing was
// deleted.
bool DeleteFileItself(const char* pszPath);

// Whether the file or directory behind hFile is reached at strPath itself, not through a link on
// the way (its final path would differ). Systems before Vista cannot say: true there.
bool ReachedDirectly(HANDLE hFile, const char* pszPath);

// True when a file or directory exists at exactly that path.
bool PathExists(const char* pszPath);
