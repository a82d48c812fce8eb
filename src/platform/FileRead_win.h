#pragma once
// Reading a whole local file, and whether a path names anything at all.
#include <windows.h>

#include <string>

#include "platform/ByteBuffer.h"

enum class FileReadStatus {
  Read,         // bytes holds the whole file, possibly nothing
  Missing,      // nothing of that name (or no such folder)
  CannotOpen,   // a folder, held open for writing by another program, no permission, a pattern
  CannotRead,   // opened, but reading failed part way
  OutOfMemory,  // the file does not fit in memory
};

struct FileReadResult {
  FileReadStatus status = FileReadStatus::CannotOpen;
  ByteBuffer bytes;
  bool ok() const { return status == FileReadStatus::Read; }
};

// Opens the file for reading while refusing writers, reads it once into a buffer of its final
// size and closes it. Deleting or renaming over the file stays allowed meanwhile, so that a save
// by another copy of the program is not refused. While another program holds the file, it tries
// again for up to waitWhileHeldMilliseconds. Never throws.
FileReadResult ReadWholeFile(const std::string& path, DWORD waitWhileHeldMilliseconds = 0);

// True when the pattern matches at least one file or folder (FindFirstFileA): a folder counts,
// and so does a pattern with wildcards that matches something.
bool AnyFileSystemEntryMatches(const std::string& pattern);
