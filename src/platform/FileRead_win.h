#pragma once
// Reading a whole local file, and whether a path names anything at all.
#include <string>

#include "platform/ByteBuffer.h"

enum class FileReadStatus {
  Read,         // bytes holds the whole file, possibly nothing
  CannotOpen,   // missing, a folder, held open for writing by another program, no permission, a pattern
  CannotRead,   // opened, but reading failed part way
  OutOfMemory,  // the file does not fit in memory
};

struct FileReadResult {
  FileReadStatus status = FileReadStatus::CannotOpen;
  ByteBuffer bytes;
  bool ok() const { return status == FileReadStatus::Read; }
};

// Opens the file for reading while refusing writers, reads it once into a buffer of its final
// size and closes it. Never throws.
FileReadResult ReadWholeFile(const std::string& path);

// True when the pattern matches at least one file or folder (FindFirstFileA): a folder counts,
// and so does a pattern with wildcards that matches something.
bool AnyFileSystemEntryMatches(const std::string& pattern);
