#pragma once
// Where this build of the program learns of and fetches new versions. The released program asks
// the maker's server; the test build of the same sources asks the tests' local web server.
// UpdateSite.cpp is compiled once per build with the addresses as definitions.
#include <cstddef>

// A plain HTTP address whose last path element is "update_version.html"; its body is the
// published version text.
extern const char VersionDocumentUrl[];
// The HTTPS download page, for those who update by hand.
extern const char ManualUpdatePageUrl[];
// The file name of the program that the updater replaces, in its own folder.
extern const char ProgramFileName[];
// The new program and its detached signature (DER ECDSA P-256 over SHA-256), beside the version
// document.
extern const char NewProgramUrl[];
extern const char NewProgramSignatureUrl[];
