#include <windows.h>

#include "app/Program_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunProgram(); }
