#include "updater/Installer.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// A folder in memory whose operations of the given numbers fail (counting from 1). A failed write
// leaves the half it wrote behind, as a full disk does.
class MemoryFolder final : public InstallFileSystem {
 public:
  bool WriteAndFlush(const std::string& path, std::string_view bytes) override {
    if (Fails("write " + path)) {
      files[path] = std::string(bytes.substr(0, bytes.size() / 2));
      return false;
    }
    files[path] = std::string(bytes);
    return true;
  }
  bool Move(const std::string& from, const std::string& to, bool replaceExisting) override {
    if (Fails("move " + from + " " + to) || !files.count(from) || (files.count(to) && !replaceExisting)) return false;
    if (running.count(to)) return false;  // a running program's file cannot be replaced
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  bool Remove(const std::string& path) override {
    if (Fails("remove " + path) || !files.count(path)) return false;
    files.erase(path);
    return true;
  }
  bool StartProgram(const std::string& path) override {
    if (Fails("start " + path) || !files.count(path)) return false;
    started.push_back(files[path]);
    running.insert(path);
    return true;
  }
  unsigned long LastError() const override { return 5; }

  bool Fails(const std::string& operation) {
    operations.push_back(operation);
    return failing.count(static_cast<int>(operations.size())) > 0;
  }

  std::set<int> failing;
  std::map<std::string, std::string> files;
  std::vector<std::string> operations;
  std::vector<std::string> started;
  std::set<std::string> running;
};

const InstallPaths Paths = InstallPathsFor("C:\\Q\\Quendral.exe");
const std::string OldProgram = "MZ old program";
const std::string NewProgram = "MZ new program";

TEST(InstallPaths, LieBesideTheProgram) {
  EXPECT_EQ(Paths.program, "C:\\Q\\Quendral.exe");
  EXPECT_EQ(Paths.fresh, "C:\\Q\\Quendral.exe.new");
  EXPECT_EQ(Paths.aside, "C:\\Q\\Quendral.exe.old");
}

TEST(InstallProgram, ReplacesStartsAndCleansUp) {
  MemoryFolder folder;
  folder.files[Paths.program] = OldProgram;
  folder.files[Paths.aside] = "MZ left over from an earlier update";
  InstallResult result = InstallProgram(folder, Paths, NewProgram);
  EXPECT_EQ(result.outcome, InstallOutcome::Installed);
  EXPECT_EQ(folder.files, (std::map<std::string, std::string>{{Paths.program, NewProgram}}));
  EXPECT_EQ(folder.started, std::vector<std::string>{NewProgram});
}

// Every step failing in turn: the old program is back in its place and nothing of the new one is
// left, or, when even putting it back failed, the old program is kept aside and said so.
TEST(InstallProgram, AnyFailedStepLeavesTheOldProgramInPlace) {
  MemoryFolder dryRun;
  dryRun.files[Paths.program] = OldProgram;
  InstallProgram(dryRun, Paths, NewProgram);
  const int steps = static_cast<int>(dryRun.operations.size());
  ASSERT_EQ(steps, 5);  // write, move aside, move in, start, remove the old one

  for (int failAt = 1; failAt <= steps; ++failAt) {
    MemoryFolder folder;
    folder.files[Paths.program] = OldProgram;
    folder.failing = {failAt};
    InstallResult result = InstallProgram(folder, Paths, NewProgram);
    SCOPED_TRACE("failing " + dryRun.operations[failAt - 1]);
    if (failAt == steps) {  // only the old copy stayed behind
      EXPECT_EQ(result.outcome, InstallOutcome::Installed);
      EXPECT_EQ(folder.files[Paths.program], NewProgram);
      EXPECT_EQ(folder.files[Paths.aside], OldProgram);
      continue;
    }
    const InstallOutcome expected[] = {InstallOutcome::NotWritten, InstallOutcome::OldNotMovedAside,
                                       InstallOutcome::NewNotMovedIn, InstallOutcome::NewNotStarted};
    EXPECT_EQ(result.outcome, expected[failAt - 1]);
    EXPECT_EQ(result.error, 5u);
    EXPECT_EQ(folder.files, (std::map<std::string, std::string>{{Paths.program, OldProgram}}));
    EXPECT_TRUE(folder.started.empty());
  }
}

TEST(InstallProgram, WhenTheOldProgramCannotReturnItIsKeptAside) {
  // Moving in (3) or starting (4) fails, and then so does moving the old program back.
  for (std::set<int> failing : {std::set<int>{3, 4}, std::set<int>{4, 5}}) {
    MemoryFolder folder;
    folder.files[Paths.program] = OldProgram;
    folder.failing = failing;
    InstallResult result = InstallProgram(folder, Paths, NewProgram);
    SCOPED_TRACE(folder.operations.back());
    EXPECT_EQ(result.outcome, InstallOutcome::RollbackFailed);
    EXPECT_EQ(folder.files[Paths.aside], OldProgram);
    EXPECT_TRUE(folder.started.empty());
  }
}

}  // namespace
