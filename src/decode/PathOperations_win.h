#pragma once
// The file-system and shell side of saving a decoded file. Paths are code page 936 texts;
// where Windows wants UTF-16 they are converted with code page 936 named explicitly, whatever
// the system's own ANSI code page is.
#include <string>

// UTF-16 of a zero-terminated code page 936 text; empty for the empty text, which every
// operation below treats as a path that does not exist.
std::wstring ToWidePath(const std::string& text);

bool IsExistingDirectory(const std::string& path);

// The path itself when it names an existing directory, else its folder with the trailing
// backslash ('C:\a\b.png' gives 'C:\a\').
std::string DirectoryOfPath(const std::string& path);

// Creates every missing folder of the directory, outermost first; folders that exist already,
// or cannot be made, are passed over (the write that follows says whether it worked).
void CreateDirectoryChain(const std::string& directory);

// Opens a shell window on the folder of an existing file or folder with the item selected;
// does nothing when it does not exist. Failures of the shell are not reported.
void RevealInFolder(const std::string& path);
