#pragma once
#include <string>

// Puts the text on the clipboard as plain ANSI text (CF_TEXT). False, with the clipboard
// untouched, when it cannot be opened or the memory cannot be had.
bool PutTextOnClipboard(const std::string& text);
