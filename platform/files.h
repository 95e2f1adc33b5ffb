#pragma once
// File-system services: special folders, attributes, copies and safe writes.
// Paths are UTF-8 texts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class FileLock;

// The user's documents folder (XDG_DOCUMENTS_DIR, else ~/Documents when it
// exists, else the home folder), with no trailing separator.
std::string DocumentsFolder();
// Folder of the running executable, with a trailing separator.
std::string ExecutableFolder();
// The folder for the user's configuration files (XDG_CONFIG_HOME/gravelune).
std::string ConfigFolder();

std::string CurrentFolder();
bool SetCurrentFolder(const std::string& folder);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
bool IsWritableFolder(const std::string& folder);
// The names (without folder) of the regular files of a folder ("" for the
// current folder), in no particular order; empty when it cannot be read.
std::vector<std::string> FileNamesIn(const std::string& folder);

// Raw permission bits of a file (never changed by the program: an open
// document is held by a FileLock, file_lock.h).
std::optional<uint32_t> Attributes(const std::string& path);

// Whole-file read; false when the file cannot be read.
bool ReadFile(const std::string& path, std::string& bytes);
// Writes the bytes to a temporary file beside the target, flushes it to disk
// and renames it over the target: the target is either left as it was or
// replaced whole.  A replaced target's permission bits go to the new file.
// With a lock, the new file is locked before it takes the target's name and
// the lock moves there on success (whatever it held before is released):
// the file is never found at its name unlocked.  On failure errno tells why
// (a full disk, a read-only medium, a refused write).
bool WriteFileAtomic(const std::string& path, std::string_view bytes, FileLock* lock = nullptr);
// Copies a file through WriteFileAtomic (the copy is writable).
bool CopyFile(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);

// A temporary-file name beside path, unique to this process.
std::string TemporaryNameBeside(const std::string& path);

// Path helpers on '/' separated paths.
std::string FolderOf(const std::string& path);    // with trailing '/', "" for a bare name
std::string FileNameOf(const std::string& path);  // last component
std::string ExtensionOf(const std::string& path); // ".ext" of the last component or ""
std::string ChangeExtension(const std::string& path, const std::string& ext);  // ext with its dot

}  // namespace platform
