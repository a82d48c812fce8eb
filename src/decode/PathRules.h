#pragma once
// Where a chosen file goes: its folder and the folders to create for it, on code page 936
// paths. Separators are found by characters, so the second byte of a double-byte character
// (淺 is 9C 5C) is never taken for a backslash.
#include <string>
#include <vector>

// The path up to and including its last backslash ('C:\a\b.png' gives 'C:\a\'); empty when
// the path has none.
std::string DirectoryPartOfPath(const std::string& path);

// The folders to create, outermost first, so that the whole directory exists afterwards: every
// prefix that ends before a backslash except the first (the drive 'C:' or a relative root),
// then the directory itself. 'C:\a\b\' gives 'C:\a', 'C:\a\b', 'C:\a\b\'. A directory of
// fewer than three characters gives none.
std::vector<std::string> DirectoriesToCreate(const std::string& directory);
