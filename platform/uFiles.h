#pragma once
// File access for the whole system. Paths and names are Windows-1251 text,
// like every other text of the model; they are converted to the file
// system's UTF-8 names here and nowhere else. Relative paths are taken from
// the process's current directory.

#include <string>
#include <string_view>
#include <vector>

namespace varnik {

// Reads the whole file into `data`. False (and `data` empty) when the file
// cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& data);

// Replaces the file's content with `data` atomically: the bytes go to a
// temporary file beside the target, which is flushed and renamed over it, so
// a failure at any point leaves the old file as it was. False on failure,
// and for a file that is read-only (it is never replaced). The file keeps
// its permissions; a symbolic link is written through and stays a link.
bool WriteFileAtomic(const std::string& path, std::string_view data);

bool FileExists(const std::string& path);

// Removes the file; false when it could not be removed (a missing file
// counts as removed).
bool RemoveFile(const std::string& path);

// The name part of a path (after the last "/" or "\").
std::string ExtractFileName(const std::string& path);

// True when `name` matches the wildcard `mask` ("*" any run, "?" one
// character), letters compared without regard to case.
bool MatchesMask(std::string_view name, std::string_view mask);

// Appends the names of the current directory's regular files that match
// `mask`, then sorts the whole list: byte by byte as unsigned codes after
// lowering A-Z, so Latin case is ignored and Cyrillic bytes sort by code.
// Calling it with several masks leaves the accumulated list sorted as a whole.
void ListFiles(std::string_view mask, std::vector<std::string>& names);

// The order of ListFiles: true when `a` is listed before `b`.
bool ListedBefore(std::string_view a, std::string_view b);

// The directory holding the running program, with a trailing "/".
std::string ProgramDir();

// The process's current directory, and changing it. SetCurrentDir returns
// false when the directory cannot be entered.
std::string CurrentDir();
bool SetCurrentDir(const std::string& path);

}  // namespace varnik
