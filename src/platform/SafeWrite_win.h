#pragma once
#include <windows.h>

#include <string>
#include <string_view>

// Writes every byte at the file's position and flushes them to the disk. False on any failure;
// after a short write (a full disk) the last error is ERROR_DISK_FULL.
bool WriteAllAndFlush(HANDLE file, std::string_view bytes);

// Replaces the file at path (code page 936) by exactly these bytes, or leaves it as it was:
// the bytes go to a new temporary file in the same folder, are flushed to the disk, and only
// then take the file's name in one rename (MoveFileExW), keeping the old file's attributes.
// True when the new content is in place. False when it is not: a read-only file or a folder at
// the path, a folder that cannot be written, a full disk, a file held by another program for more
// than about a second; the old file is then untouched and the temporary file removed.
bool WriteFileSafely(const std::string& path, std::string_view bytes);
