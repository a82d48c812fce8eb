#pragma once
#include <string>

// Starts the program at this full path (no search on the path) with this command line and a
// normal window, waits at most a second for it to be ready for input, and keeps no handle to it.
// False when it did not start.
bool StartProgram(const std::string& path, const std::string& commandLine);
