#include <windows.h>

#include "app/Program_win.h"
#include "app/UpdateSite.h"
#include "app/UpdaterImage.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunProgram({VersionDocumentUrl, ManualUpdatePageUrl, UpdaterImage()});
}
