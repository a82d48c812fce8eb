#pragma once
#include <string>

// The folder that holds the running program, without a trailing backslash.
std::string ProgramDirectory();

// Asks the shell to open an address (the default browser for a web address).
void OpenWithShell(const std::string& address);
