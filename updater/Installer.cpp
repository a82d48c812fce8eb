#include "updater/Installer.h"

InstallPaths InstallPathsFor(const std::string& program) { return {program, program + ".new", program + ".old"}; }

InstallResult InstallProgram(InstallFileSystem& files, const InstallPaths& paths, std::string_view verifiedBytes) {
  if (!files.WriteAndFlush(paths.fresh, verifiedBytes)) {
    unsigned long error = files.LastError();
    files.Remove(paths.fresh);
    return {InstallOutcome::NotWritten, error};
  }
  // An old program left aside by an earlier update that could not remove it is replaced.
  if (!files.Move(paths.program, paths.aside, true)) {
    unsigned long error = files.LastError();
    files.Remove(paths.fresh);
    return {InstallOutcome::OldNotMovedAside, error};
  }
  auto putOldBack = [&](InstallOutcome outcome, unsigned long error) -> InstallResult {
    if (!files.Move(paths.aside, paths.program, true)) return {InstallOutcome::RollbackFailed, files.LastError()};
    files.Remove(paths.fresh);
    return {outcome, error};
  };
  if (!files.Move(paths.fresh, paths.program, false)) return putOldBack(InstallOutcome::NewNotMovedIn, files.LastError());
  // The old program, moved back over the new one, replaces it in one step.
  if (!files.StartProgram(paths.program)) return putOldBack(InstallOutcome::NewNotStarted, files.LastError());
  // A left-over old program does no harm; the next update replaces it.
  files.Remove(paths.aside);
  return {InstallOutcome::Installed};
}
