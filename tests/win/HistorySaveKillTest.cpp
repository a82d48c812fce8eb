#include <windows.h>

#include <random>

#include "SampleHistory.h"
#include "TestData.h"
#include "WinTestSupport.h"

namespace {

std::string SaverPath() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory = path;
  return directory.substr(0, directory.find_last_of('\\')) + "\\history_saver.exe";
}

}  // namespace

// The power may go or the program be ended at any moment of a save: the history file must then
// hold the old history or the new one, whole, never a mixture or a part.
TEST(HistorySave, AProcessKilledAtAnyMomentOfSavingLeavesTheOldOrTheNewHistoryWhole) {
  ScratchFolder folder;
  const std::string path = folder / "history.ebb";
  const std::string historyA = HistoryFileBytes(SampleHistory('A'));
  const std::string historyB = HistoryFileBytes(SampleHistory('B'));
  WriteFixtureFile(path, historyA);

  std::mt19937 random(5);
  int seenA = 0, seenB = 0;
  for (int run = 0; run < 24; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    std::string prefix = "QuendralSaver-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(run);
    unique_handle ready(::CreateEventA(nullptr, TRUE, FALSE, (prefix + "-ready").c_str()));
    unique_handle saved(::CreateEventA(nullptr, TRUE, FALSE, (prefix + "-saved").c_str()));
    std::string commandLine;
    for (const std::string& argument : {SaverPath(), path, prefix + "-ready", prefix + "-saved"}) {
      commandLine.append(commandLine.empty() ? "\"" : " \"").append(argument).append("\"");
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessA(SaverPath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &process));
    unique_handle processHandle(process.hProcess), threadHandle(process.hThread);

    // Every other run waits until a save has gone through, so that kills land in later saves too.
    HANDLE waitFor[] = {run % 2 ? saved.get() : ready.get(), process.hProcess};
    ASSERT_EQ(::WaitForMultipleObjects(2, waitFor, FALSE, 60000), WAIT_OBJECT_0) << "the saver did not get going";
    ::Sleep(random() % 250);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ASSERT_EQ(exitCode, STILL_ACTIVE) << "the saver ended by itself";
    ::TerminateProcess(process.hProcess, 9);
    ::WaitForSingleObject(process.hProcess, 60000);

    std::string content = ReadFixtureFile(path);
    bool whole = content == historyA || content == historyB;
    ASSERT_TRUE(whole) << "the file holds " << content.size() << " bytes of neither history";
    ++(content == historyA ? seenA : seenB);
  }
  std::printf("killed 24 times: history A %d times, history B %d times\n", seenA, seenB);
  // The saver's first save writes B, and half the runs wait for a save to finish: a test that
  // never saw B would have killed nothing but idle savers.
  EXPECT_GT(seenB, 0);
}
