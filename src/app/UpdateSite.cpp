#include "app/UpdateSite.h"

// QUENDRAL_UPDATE_FOLDER ends with "/"; the build sets all three (quendral_update_site in CMake).
const char VersionDocumentUrl[] = QUENDRAL_UPDATE_FOLDER "update_version.html";
const char ManualUpdatePageUrl[] = QUENDRAL_DOWNLOAD_PAGE;
const char ProgramFileName[] = QUENDRAL_PROGRAM_FILE;
const char NewProgramUrl[] = QUENDRAL_UPDATE_FOLDER QUENDRAL_PROGRAM_FILE;
const char NewProgramSignatureUrl[] = QUENDRAL_UPDATE_FOLDER QUENDRAL_PROGRAM_FILE ".sig";
