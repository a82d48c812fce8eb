// The update check at start of the test build (QuendralTest.exe), whose version document is
// quendral/update_version.html on the local web server: the real boxes, the real input box and the
// real updater, as a user meets them.
#include <windows.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "QuendralSession.h"
#include "TestData.h"

namespace {

constexpr char Program[] = QUENDRAL_E2E_PROGRAM;

std::string Fixture(const std::string& name) {
  return ReadFileBytes(std::string(QUENDRAL_UPDATE_FIXTURES) + "/" + name);
}

// A time long before the test, to tell a file written again by the program from the one we wrote.
constexpr ULONGLONG OldTime = 130000000000000000ULL;  // 2012

bool AgeFile(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  FILETIME old{static_cast<DWORD>(OldTime), static_cast<DWORD>(OldTime >> 32)};
  BOOL ok = ::SetFileTime(file, nullptr, nullptr, &old);
  ::CloseHandle(file);
  return ok;
}

ULONGLONG LastWritten(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
}

// A history of one row beside the program, last written long ago; its bytes, or nothing when it
// could not be made.
std::string WriteOldHistory(const ProgramFolder& folder) {
  const std::string history = HistoryFileBytes({{"2021.11.12 12:10:12", "猫.png", "QUJD"}});
  if (!WriteFileBytes(folder / "历史记录.ebb", history) || !AgeFile(folder / "历史记录.ebb")) return {};
  return history;
}

// What the maker's server publishes, on the local web server; withdrawn at the end, so that the
// other scenarios start with no version document (a 404, which lets the program start).
class Published {
 public:
  Published() {
    const char* root = std::getenv("QUENDRAL_HTTP_ROOT");
    EXPECT_TRUE(root && *root) << "QUENDRAL_HTTP_ROOT is not set: start tests/server/http_server.py as scripts/test does";
    root_ = root ? root : "";
    folder_ = root_ + "\\quendral";
    ::CreateDirectoryA(folder_.c_str(), nullptr);
  }
  ~Published() {
    for (const std::string& name : {std::string("update_version.html"), std::string(Program),
                                    std::string(Program) + ".sig"}) {
      ::DeleteFileA((folder_ + "\\" + name).c_str());
    }
  }
  void Version(const std::string& text) { WriteFileBytes(folder_ + "\\update_version.html", text); }
  // Every request the server logged: the request line, a tab, the User-Agent header.
  std::string Requests() const { return ReadFileBytes(root_ + "\\requests.log"); }
  void NewProgram(const std::string& bytes, const std::string& signature) {
    WriteFileBytes(folder_ + "\\" + Program, bytes);
    WriteFileBytes(folder_ + "\\" + Program + ".sig", signature);
  }

 private:
  std::string root_;
  std::string folder_;
};

// The message box of the update check that comes up next; its text, once it is dismissed with OK.
std::string AcknowledgeMessage(const QuendralSession& program) {
  HWND box = program.WaitForWindow("信息：");
  if (!box) return "<no message box>";
  std::string text = DialogMessage(box);
  PressDialogButton(box, IDOK);
  WaitUntil(5000, [&] { return !::IsWindow(box); });
  return text;
}

void Answer(const QuendralSession& program, const std::string& answer) {
  HWND box = program.WaitForWindow("请选择更新方式：");
  ASSERT_TRUE(box) << "no input box";
  HWND entry = ::GetDlgItem(box, 101);
  for (char key : answer) ::SendMessageA(entry, WM_CHAR, static_cast<unsigned char>(key), 1);
  PressDialogButton(box, IDOK);
}

TEST(UpdateAtStart, ThePublishedVersionBeingOursTheWindowOpensWithNoMessage) {
  Published server;
  server.Version("1.0.0\r\n");
  ProgramFolder folder;
  QuendralSession program(folder);
  ASSERT_TRUE(program.Start());
  EXPECT_EQ(program.WaitForWindow("信息：", 500), nullptr);
  program.CloseWithCloseBox();
  EXPECT_EQ(program.WaitForExit(), 0u);
  EXPECT_NE(server.Requests().find("GET /quendral/update_version.html HTTP/1.0\t"
                                   "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\n"),
            std::string::npos)
      << "the program did not ask the server";
}

// Every answer but the online update ends the program at once: its window never shows and the
// history file is neither read nor written.
TEST(UpdateAtStart, GivingUpEndsTheProgramBeforeItsWindowShowsAndLeavesTheHistoryAlone) {
  Published server;
  server.Version("1.0.1");
  const struct {
    const char* answer;
    const char* message;  // after the answer; none for an answer that is no choice
  } cases[] = {{"0", "您放弃了更新版本"}, {"", "输入失败，程序退出！"}, {"3", nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("answer \"") + c.answer + "\"");
    ProgramFolder folder;
    const std::string history = WriteOldHistory(folder);
    ASSERT_FALSE(history.empty());
    QuendralSession program(folder);
    ASSERT_TRUE(program.Launch());
    HWND notice = program.WaitForWindow("信息：");
    ASSERT_TRUE(notice);
    // A box with no owner is task-modal: the program's other windows, its hidden main window
    // among them, take no input while it is up.
    HWND hidden = program.FindMainWindow(false);
    ASSERT_TRUE(hidden);
    EXPECT_FALSE(::IsWindowVisible(hidden));
    EXPECT_FALSE(::IsWindowEnabled(hidden)) << "the notice is not task-modal";
    ASSERT_EQ(AcknowledgeMessage(program), "您好，此软件需要更新，请下载最新版");
    Answer(program, c.answer);
    if (c.message) {
      EXPECT_EQ(AcknowledgeMessage(program), c.message);
    }
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_FALSE(program.WaitForMainWindow(0));
    EXPECT_FALSE(FileExists(folder / "Update.exe"));
    EXPECT_EQ(ReadFileBytes(folder / "历史记录.ebb"), history);
    EXPECT_EQ(LastWritten(folder / "历史记录.ebb"), OldTime) << "the history file was written";
  }
}

// The whole online update: the program writes and starts the updater and closes; the updater
// replaces the program by the signed new version and starts it.
TEST(UpdateAtStart, TheOnlineUpdateInstallsAndStartsTheSignedNewVersion) {
  Published server;
  server.Version("1.0.1");
  const std::string fresh = Fixture("new-version.exe");
  server.NewProgram(fresh, Fixture("new-version.exe.sig"));
  ProgramFolder folder;
  const std::string history = WriteOldHistory(folder);
  ASSERT_FALSE(history.empty());
  QuendralSession program(folder);
  ASSERT_TRUE(program.Launch());
  ASSERT_EQ(AcknowledgeMessage(program), "您好，此软件需要更新，请下载最新版");
  Answer(program, "1");
  EXPECT_EQ(AcknowledgeMessage(program),
            "点击确定后会向Update程序发出命令，如果调用api失败，请手动打开软件根目录下的Update.exe进行更新");
  EXPECT_EQ(program.WaitForExit(), 0u) << "the window closes by itself";
  EXPECT_EQ(ReadFileBytes(folder / "历史记录.ebb"), history) << "the window showed briefly and saved its rows unchanged";
  EXPECT_GT(LastWritten(folder / "历史记录.ebb"), OldTime) << "the rows were loaded and saved again at close";
  EXPECT_TRUE(Fixture("UpdateTest.exe") == ReadFileBytes(folder / "Update.exe")) << "the carried updater was written";

  EXPECT_TRUE(WaitUntil(60000, [&] { return FileExists(folder / "started.txt"); })) << "the new version never ran";
  EXPECT_TRUE(ReadFileBytes(folder.programPath()) == fresh);
  // The updater removes the old program only after the new one has started, so it may still be
  // there for a moment.
  EXPECT_TRUE(WaitUntil(10000, [&] { return !FileExists(folder.programPath() + ".old"); }))
      << "the old program was left beside the new one";
  EXPECT_FALSE(FileExists(folder.programPath() + ".new"));
}

}  // namespace
