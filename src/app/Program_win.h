#pragma once

// The program from start to end; the result is the process's exit code.
int RunProgram();
