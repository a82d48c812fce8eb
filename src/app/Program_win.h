#pragma once
#include "app/UpdateCheck_win.h"

// The program from start to end; the result is the process's exit code.
int RunProgram(const UpdateSource& update);
