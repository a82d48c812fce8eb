// The update check at start of the test build (QuendralTest.exe), whose version document is
// quendral/update_version.html on the local web server: the real boxes, the real input box and the
// real updater, as a user meets them.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "QuendralSession.h"

namespace {

constexpr char Program[] = QUENDRAL_E2E_PROGRAM;

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Fixture(const std::string& name) { return ReadFile(std::string(QUENDRAL_UPDATE_FIXTURES) + "/" + name); }

bool WaitUntil(DWORD milliseconds, const auto& condition) {
  for (DWORD start = ::GetTickCount();;) {
    if (condition()) return true;
    if (::GetTickCount() - start > milliseconds) return false;
    ::Sleep(50);
  }
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
  void Version(const std::string& text) { WriteFile(folder_ + "\\update_version.html", text); }
  // Every request the server logged: the request line, a tab, the User-Agent header.
  std::string Requests() const { return ReadFile(root_ + "\\requests.log"); }
  void NewProgram(const std::string& bytes, const std::string& signature) {
    WriteFile(folder_ + "\\" + Program, bytes);
    WriteFile(folder_ + "\\" + Program + ".sig", signature);
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

TEST(UpdateAtStart, GivingUpEndsTheProgramBeforeItsWindowShows) {
  Published server;
  server.Version("1.0.1");
  ProgramFolder folder;
  QuendralSession program(folder);
  ASSERT_TRUE(program.Launch());
  ASSERT_EQ(AcknowledgeMessage(program), "您好，此软件需要更新，请下载最新版");
  Answer(program, "0");
  EXPECT_EQ(AcknowledgeMessage(program), "您放弃了更新版本");
  EXPECT_EQ(program.WaitForExit(), 0u);
  EXPECT_FALSE(program.WaitForMainWindow(0));
  EXPECT_FALSE(Exists(folder / "Update.exe"));
}

// The whole online update: the program writes and starts the updater and closes; the updater
// replaces the program by the signed new version and starts it.
TEST(UpdateAtStart, TheOnlineUpdateInstallsAndStartsTheSignedNewVersion) {
  Published server;
  server.Version("1.0.1");
  const std::string fresh = Fixture("new-version.exe");
  server.NewProgram(fresh, Fixture("new-version.exe.sig"));
  ProgramFolder folder;
  QuendralSession program(folder);
  ASSERT_TRUE(program.Launch());
  ASSERT_EQ(AcknowledgeMessage(program), "您好，此软件需要更新，请下载最新版");
  Answer(program, "1");
  EXPECT_EQ(AcknowledgeMessage(program),
            "点击确定后会向Update程序发出命令，如果调用api失败，请手动打开软件根目录下的Update.exe进行更新");
  EXPECT_EQ(program.WaitForExit(), 0u) << "the window closes by itself";
  EXPECT_TRUE(Fixture("UpdateTest.exe") == ReadFile(folder / "Update.exe")) << "the carried updater was written";

  EXPECT_TRUE(WaitUntil(60000, [&] { return Exists(folder / "started.txt"); })) << "the new version never ran";
  EXPECT_TRUE(ReadFile(folder.programPath()) == fresh);
  EXPECT_FALSE(Exists(folder.programPath() + ".old"));
  EXPECT_FALSE(Exists(folder.programPath() + ".new"));
}

}  // namespace
