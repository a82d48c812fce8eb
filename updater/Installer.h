#pragma once
// Putting a verified new program in the place of the old one, so that at every moment either the
// old or the new program is at its place, and the old one comes back when anything fails.
#include <string>
#include <string_view>

// The file operations the installation needs; the updater implements them with Win32, the tests
// with a folder in memory that can be told to fail.
class InstallFileSystem {
 public:
  virtual ~InstallFileSystem() = default;
  // Creates or truncates the file, writes every byte and flushes it to the disk.
  virtual bool WriteAndFlush(const std::string& path, std::string_view bytes) = 0;
  // Renames a file; an existing target is replaced only when asked.
  virtual bool Move(const std::string& from, const std::string& to, bool replaceExisting) = 0;
  virtual bool Remove(const std::string& path) = 0;
  virtual bool StartProgram(const std::string& path) = 0;
  // The system's code for the last failure, for the message.
  virtual unsigned long LastError() const = 0;
};

struct InstallPaths {
  std::string program;  // the program to replace
  std::string fresh;    // beside it: the new bytes before they take its place
  std::string aside;    // beside it: the old program while the new one moves in
};

// The paths beside a program: "X.exe" gives "X.exe.new" and "X.exe.old".
InstallPaths InstallPathsFor(const std::string& program);

enum class InstallOutcome {
  Installed,         // the new program is in place and started
  NotWritten,        // the new bytes could not be written; nothing else changed
  OldNotMovedAside,  // the old program could not be moved; it is still in place
  NewNotMovedIn,     // the new program could not take the place; the old one is back
  NewNotStarted,     // the new program would not start; the old one is back
  RollbackFailed,    // the old program could not be put back: it is at `aside`
};

struct InstallResult {
  InstallOutcome outcome;
  unsigned long error = 0;  // the system's code for the step that failed
};

// Writes the bytes beside the program, moves the old program aside, moves the new one into its
// place, starts it and removes the old one. The bytes must already be verified.
InstallResult InstallProgram(InstallFileSystem& files, const InstallPaths& paths, std::string_view verifiedBytes);
