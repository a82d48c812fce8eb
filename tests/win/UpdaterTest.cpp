// The test updater (UpdateTest.exe) run as the user runs it, beside an old program, against the
// local web server: it installs and starts only what the maker signed, and leaves the old program
// exactly as it was otherwise.
#include <windows.h>

#include <set>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestWebServer.h"
#include "WaitUntil_win.h"
#include "WinTestSupport.h"
#include "platform/Http_win.h"
#include "updater/Updater_win.h"

namespace {

constexpr char Program[] = "QuendralTest.exe";
const std::string OldProgram = "MZ the old program, left exactly as it was";

std::string Fixture(const std::string& name) { return ReadFixtureFile(std::string(QUENDRAL_UPDATE_FIXTURES) + "/" + name); }

std::set<std::string> FolderContents(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.insert(name);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return names;
}

// What the test updater downloads: the files beside the version document on the local server.
class PublishedRelease {
 public:
  PublishedRelease() {
    folder_ = WebServerRoot() + "\\quendral";
    ::CreateDirectoryA(folder_.c_str(), nullptr);
    Withdraw();
  }
  ~PublishedRelease() { Withdraw(); }
  void Program(const std::string& bytes) { WriteFixtureFile(Path(::Program), bytes); }
  void Signature(const std::string& bytes) { WriteFixtureFile(Path(std::string(::Program) + ".sig"), bytes); }
  void CutProgramAfter(size_t bytes) { WriteFixtureFile(Path(std::string(::Program) + ".cut"), std::to_string(bytes)); }

 private:
  std::string Path(const std::string& name) const { return folder_ + "\\" + name; }
  void Withdraw() {
    for (const char* suffix : {"", ".sig", ".cut"}) ::DeleteFileA(Path(std::string(::Program) + suffix).c_str());
  }
  std::string folder_;
};

struct UpdaterRun {
  DWORD exitCode = STILL_ACTIVE;
  std::string status;  // the status line when it stopped to be closed
};

BOOL CALLBACK FindUpdaterWindow(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<std::pair<DWORD, HWND>*>(parameter);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  if (process != search.first || std::string(name) != UpdaterWindowClass) return TRUE;
  search.second = window;
  return FALSE;
}

class UpdaterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFixtureFile(folder / "Update.exe", Fixture("UpdateTest.exe"));
    WriteFixtureFile(folder / Program, OldProgram);
  }

  void Launch() {
    std::string path = folder / "Update.exe";
    std::string commandLine = "Update.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    ASSERT_TRUE(::CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 folder.path().c_str(), &startup, &process_));
  }

  HWND UpdaterWindow() const {
    std::pair<DWORD, HWND> search{process_.dwProcessId, nullptr};
    ::EnumWindows(FindUpdaterWindow, reinterpret_cast<LPARAM>(&search));
    return search.second;
  }
  std::string Status() const { return WindowTextOf(::GetDlgItem(UpdaterWindow(), UpdaterStatusId)); }
  static std::string WindowTextOf(HWND window) {
    char text[1024] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
  }

  // Waits until the updater ends by itself, or stops with its button reading "关闭"; then closes it.
  UpdaterRun Finish() {
    UpdaterRun run;
    bool stopped = WaitUntil(60000, [&] {
      if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) return true;
      HWND window = UpdaterWindow();
      return window && WindowTextOf(::GetDlgItem(window, UpdaterButtonId)) == UpdaterCloseText;
    });
    EXPECT_TRUE(stopped) << "the updater neither ended nor stopped";
    if (::WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) {
      run.status = Status();
      ::PostMessageA(UpdaterWindow(), WM_CLOSE, 0, 0);
    }
    ::WaitForSingleObject(process_.hProcess, 10000);
    ::GetExitCodeProcess(process_.hProcess, &run.exitCode);
    return run;
  }

  UpdaterRun Run() {
    Launch();
    return Finish();
  }

  void TearDown() override {
    if (!process_.hProcess) return;
    if (::WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) ::TerminateProcess(process_.hProcess, 9);
    ::WaitForSingleObject(process_.hProcess, 5000);
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
  }

  ScratchFolder folder;
  PublishedRelease release;
  PROCESS_INFORMATION process_{};
};

TEST_F(UpdaterTest, InstallsAndStartsACorrectlySignedNewVersion) {
  const std::string fresh = Fixture("new-version.exe");
  release.Program(fresh);
  release.Signature(Fixture("new-version.exe.sig"));
  UpdaterRun run = Run();
  EXPECT_EQ(run.exitCode, static_cast<DWORD>(UpdaterInstalled)) << run.status;
  EXPECT_TRUE(ReadFixtureFile(folder / Program) == fresh);
  EXPECT_TRUE(WaitUntil(10000, [&] { return FixtureExists(folder / "started.txt"); })) << "the new version ran";
  std::string quotedProgram = folder / Program;  // built in steps: GCC 12 misreads "\"" + ... as overlapping
  quotedProgram.insert(0, 1, '"').push_back('"');
  EXPECT_EQ(ReadFixtureFile(folder / "started.txt"), quotedProgram);
  EXPECT_EQ(FolderContents(folder.path()), (std::set<std::string>{"Update.exe", Program, "started.txt"}));

  const std::string expected[] = {"GET /quendral/QuendralTest.exe HTTP/1.0\t" + std::string(HttpUserAgent),
                                  "GET /quendral/QuendralTest.exe.sig HTTP/1.0\t" + std::string(HttpUserAgent)};
  for (const std::string& request : expected) EXPECT_THAT(ServedRequests(), ::testing::Contains(request));
}

TEST_F(UpdaterTest, WaitsUntilTheOldProgramHasEnded) {
  release.Program(Fixture("new-version.exe"));
  release.Signature(Fixture("new-version.exe.sig"));
  // Held open as a running program's file is: it can be neither written nor replaced.
  HANDLE running = ::CreateFileA((folder / Program).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(running, INVALID_HANDLE_VALUE);
  Launch();
  bool waiting = WaitUntil(20000, [&] { return UpdaterWindow() && Status().find("正在等待") != std::string::npos; });
  EXPECT_TRUE(waiting) << Status();
  EXPECT_TRUE(ReadFixtureFile(folder / Program) == OldProgram) << "the old program changed";
  ::CloseHandle(running);
  UpdaterRun run = Finish();
  EXPECT_EQ(run.exitCode, static_cast<DWORD>(UpdaterInstalled)) << run.status;
  EXPECT_TRUE(ReadFixtureFile(folder / Program) == Fixture("new-version.exe"));
}

struct RefusedCase {
  const char* what;
  std::string program;    // published bytes; empty: none published
  std::string signature;  // published bytes; empty: none published
  size_t cutAfter;        // 0: sent whole
  const char* says;       // part of the status line
};

TEST_F(UpdaterTest, NothingButTheMakersSignedProgramIsInstalled) {
  const std::string fresh = Fixture("new-version.exe");
  const std::string signature = Fixture("new-version.exe.sig");
  const RefusedCase cases[] = {
      {"signed with another key", fresh, Fixture("new-version.exe.stranger.sig"), 0, "签名无效"},
      {"a signature of other bytes", fresh, Fixture("not-a-program.bin.sig"), 0, "签名无效"},
      {"a signature that is no signature", fresh, "not DER at all", 0, "签名无效"},
      {"one byte of the program changed", "MZ" + fresh.substr(2, fresh.size() - 3) + "!", signature, 0, "签名无效"},
      {"the download cut short", fresh, signature, fresh.size() / 2, "下载不完整"},
      {"signed, but no program", Fixture("not-a-program.bin"), Fixture("not-a-program.bin.sig"), 0,
       "不是Windows程序"},
      {"no signature published", fresh, "", 0, "无法下载新版本的签名：服务器回答 404"},
      {"no new version published", "", signature, 0, "无法下载新版本：服务器回答 404"},
  };
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.what);
    PublishedRelease published;
    if (!c.program.empty()) published.Program(c.program);
    if (!c.signature.empty()) published.Signature(c.signature);
    if (c.cutAfter) published.CutProgramAfter(c.cutAfter);
    UpdaterRun run = Run();
    TearDown();
    process_ = {};
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(UpdaterFailed));
    EXPECT_THAT(run.status, ::testing::HasSubstr(c.says));
    EXPECT_THAT(run.status, ::testing::HasSubstr("原来的程序没有改动"));
    EXPECT_TRUE(ReadFixtureFile(folder / Program) == OldProgram) << "the old program changed";
    EXPECT_EQ(FolderContents(folder.path()), (std::set<std::string>{"Update.exe", Program}));
  }
}

TEST_F(UpdaterTest, WithoutTheProgramBesideItNothingIsDownloaded) {
  ::DeleteFileA((folder / Program).c_str());
  release.Program(Fixture("new-version.exe"));
  release.Signature(Fixture("new-version.exe.sig"));
  UpdaterRun run = Run();
  EXPECT_EQ(run.exitCode, static_cast<DWORD>(UpdaterFailed));
  EXPECT_THAT(run.status, ::testing::HasSubstr("找不到 QuendralTest.exe"));
  EXPECT_EQ(FolderContents(folder.path()), std::set<std::string>{"Update.exe"});
}

TEST_F(UpdaterTest, CancellingWhileWaitingChangesNothing) {
  HANDLE running = ::CreateFileA((folder / Program).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  Launch();
  ASSERT_TRUE(WaitUntil(20000, [&] { return UpdaterWindow() && Status().find("正在等待") != std::string::npos; }));
  ::PostMessageA(::GetDlgItem(UpdaterWindow(), UpdaterButtonId), BM_CLICK, 0, 0);
  UpdaterRun run = Finish();
  ::CloseHandle(running);
  EXPECT_EQ(run.exitCode, static_cast<DWORD>(UpdaterCancelled));
  EXPECT_THAT(run.status, ::testing::HasSubstr("更新已取消"));
  EXPECT_TRUE(ReadFixtureFile(folder / Program) == OldProgram) << "the old program changed";
}

}  // namespace
