// The update check on a hidden main window against the local web server, with a scripted user.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestData.h"
#include "TestWebServer.h"
#include "WinTestSupport.h"
#include "app/UpdateCheck_win.h"
#include "app/UpdaterImage.h"
#include "platform/Text_win.h"
#include "platform/Http_win.h"

using ::testing::ElementsAre;

namespace {

constexpr char DownloadPage[] = "https://quendral.example/download/";

class UpdateCheck : public MainWindowTest {
 protected:
  // Publishes the version text under a name of its own and checks against it.
  void CheckWithPublished(const std::string& version) {
    servedName = UniqueServedName("update_version");
    Check(ServeFile(servedName, version));
  }
  void Check(const std::string& address) {
    CheckForUpdate(window->Context(), {address, DownloadPage, UpdaterImage()});
    PumpMessages();  // a requested destruction happens here
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& message : ui.messages) texts.push_back(message.text);
    return texts;
  }
  std::string UpdaterPath() const { return programFolder / "Update.exe"; }

  std::string servedName;
};

TEST_F(UpdateCheck, TheSameVersionStartsWithNoMessage) {
  for (const char* published : {"1.0.0", "1.0.0\r\n", "\xEF\xBB\xBF" "1.0.0\n"}) {
    CheckWithPublished(published);
    EXPECT_TRUE(ui.steps.empty()) << published;
    EXPECT_TRUE(window->handle()) << published;
  }
}

TEST_F(UpdateCheck, NoAnswerFromTheServerStartsWithNoMessage) {
  // Another version, published by a server too slow for the check's time limit (5 s in all): a
  // check that waited for it would ask the user.
  const std::string slow = UniqueServedName("update_version");
  ServeFile(slow, "1.0.1");
  const std::string addresses[] = {
      RefusedAddress("/update_version.html"),
      "http://name.invalid/update_version.html",  // RFC 6761: never resolves
      WebServerAddress("/status/404/update_version.html"),
      WebServerAddress("/status/503/update_version.html"),
      WebServerAddress("/slow/8000/" + slow),
  };
  for (const std::string& address : addresses) {
    Check(address);
    EXPECT_TRUE(ui.steps.empty()) << address;
    EXPECT_TRUE(window->handle()) << address;
  }
}

TEST_F(UpdateCheck, AnotherVersionShowsTheNoticeAndAsks) {
  CheckWithPublished("1.0.1");
  ASSERT_GE(ui.messages.size(), 1u);
  const ShownMessage& notice = ui.messages[0];
  EXPECT_EQ(notice.owner, nullptr);
  EXPECT_EQ(notice.text, "您好，此软件需要更新，请下载最新版");
  EXPECT_EQ(notice.title, "");  // the message box gives it "信息："
  EXPECT_EQ(notice.style, static_cast<UINT>(MB_ICONINFORMATION));
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].title, "请选择更新方式：");
  EXPECT_EQ(ui.questions[0].prompt, "更新方式请选择，输入对应的序号即可！\r\n0.放弃更新 1.在线更新 2.手动更新");

  // The request the server saw: HTTP/1.0 with the program's user agent.
  EXPECT_THAT(ServedRequests(), ::testing::Contains("GET /" + servedName + " HTTP/1.0\t" + HttpUserAgent));
}

struct AnswerCase {
  const char* answer;
  std::vector<std::string> steps;
  std::vector<std::string> messages;  // after the notice
};

TEST_F(UpdateCheck, EveryAnswerButTheOnlineUpdateEndsTheProgram) {
  const AnswerCase cases[] = {
      {"", {"message", "ask", "message", "end"}, {"输入失败，程序退出！"}},
      {"0", {"message", "ask", "message", "end"}, {"您放弃了更新版本"}},
      {"2",
       {"message", "ask", "web page", "message", "end"},
       {"网址已在您默认的浏览器打开，如果没有打开，已自动将网址复制在您的剪切板\r\n请打开浏览器粘贴网址回车访问即可！"}},
      {"3", {"message", "ask", "end"}, {}},
      {"-1", {"message", "ask", "end"}, {}},
      {"01", {"message", "ask", "end"}, {}},
  };
  for (const AnswerCase& c : cases) {
    ui = ScriptedInteraction();
    ui.numberAnswers = {c.answer};
    CheckWithPublished("1.0.1");
    SCOPED_TRACE(std::string("answer \"") + c.answer + "\"");
    EXPECT_EQ(ui.steps, c.steps);
    std::vector<std::string> after = MessageTexts();
    after.erase(after.begin());
    EXPECT_EQ(after, c.messages);
    for (const ShownMessage& message : ui.messages) EXPECT_EQ(message.owner, nullptr);
    for (size_t i = 1; i < ui.messages.size(); ++i) EXPECT_EQ(ui.messages[i].style, 0u);
    EXPECT_TRUE(window->handle()) << "the window is left for the process's end";
    EXPECT_FALSE(FixtureExists(UpdaterPath()));
    EXPECT_TRUE(ui.startedPrograms.empty());
  }
}

TEST_F(UpdateCheck, TheManualUpdateOpensTheDownloadPageAndPutsItOnTheClipboard) {
  ui.numberAnswers = {"2"};
  CheckWithPublished("1.0.1");
  EXPECT_THAT(ui.webPages, ElementsAre(DownloadPage));
  EXPECT_EQ(ClipboardText(), DownloadPage);
}

std::string BuiltTestUpdater() { return ReadFixtureFile(std::string(QUENDRAL_UPDATE_FIXTURES) + "/UpdateTest.exe"); }

TEST_F(UpdateCheck, TheOnlineUpdateWritesTheUpdaterStartsItByItsPathAndClosesTheWindow) {
  ui.numberAnswers = {"1"};
  CheckWithPublished("1.0.1");
  ASSERT_EQ(ui.steps, (std::vector<std::string>{"message", "ask", "message", "start"}));
  EXPECT_EQ(ui.messages.back().text,
            "点击确定后会向Update程序发出命令，如果调用api失败，请手动打开软件根目录下的Update.exe进行更新");
  ASSERT_EQ(ui.startedPrograms.size(), 1u);
  EXPECT_EQ(ui.startedPrograms[0].path, UpdaterPath());
  EXPECT_EQ(ui.startedPrograms[0].commandLine, "Update.exe");
  EXPECT_EQ(window->handle(), nullptr) << "the posted destruction ran";

  const std::string written = ReadFixtureFile(UpdaterPath());
  ASSERT_GT(UpdaterImage().size(), 4096u);
  EXPECT_TRUE(written == UpdaterImage()) << written.size() << " bytes written";
  EXPECT_TRUE(UpdaterImage() == BuiltTestUpdater()) << "the carried bytes are the updater the build made";
  EXPECT_TRUE(UpdaterImage().starts_with("MZ"));
}

TEST_F(UpdateCheck, AnExistingUpdaterIsNeverReplaced) {
  WriteFixtureFile(UpdaterPath(), "MZ an updater of the user's own");
  ui.numberAnswers = {"1"};
  CheckWithPublished("1.0.1");
  EXPECT_EQ(ReadFixtureFile(UpdaterPath()), "MZ an updater of the user's own");
  EXPECT_EQ(ui.startedPrograms.size(), 1u);
  EXPECT_EQ(window->handle(), nullptr);
}

TEST_F(UpdateCheck, AFolderNamedUpdateExeCountsAsPresent) {
  ASSERT_TRUE(::CreateDirectoryA(UpdaterPath().c_str(), nullptr));
  ui.numberAnswers = {"1"};
  CheckWithPublished("1.0.1");
  DWORD attributes = ::GetFileAttributesA(UpdaterPath().c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(ui.startedPrograms.size(), 1u);
  EXPECT_EQ(window->handle(), nullptr);
}

// The check runs from the window's start-up steps, when the options ask for it: after the
// caption is set and before the history is loaded.
TEST(UpdateCheckAtStart, RunsAfterTheCaptionAndBeforeTheHistoryWhileTheWindowIsHidden) {
  ScratchFolder folder;
  WriteFixtureFile(folder / "历史记录.ebb", WorkedExampleHistory);
  ScriptedInteraction ui;
  ui.numberAnswers = {"0"};
  const std::string name = UniqueServedName("update_version");
  UpdateSource source{ServeFile(name, "2.0.0"), DownloadPage, UpdaterImage()};
  auto window = MainWindow::Create(ui, {folder.path(), true, source});
  ASSERT_TRUE(window);
  HWND list = window->Control(ControlId::历史记录);
  std::string captionWhenAsked;
  std::string firstRowWhenAsked;
  bool visibleWhenAsked = true;
  ui.whenAsked = [&] {
    captionWhenAsked = GetControlText(window->handle());
    char cell[64] = {};
    ListView_GetItemText(list, 0, 0, cell, sizeof cell);
    firstRowWhenAsked = cell;
    visibleWhenAsked = ::IsWindowVisible(window->handle());
  };
  window->OnMainWindowCreated();
  EXPECT_EQ(ui.steps, (std::vector<std::string>{"message", "ask", "message", "end"}));
  EXPECT_EQ(captionWhenAsked, "Quendral 1.0.0 by:Vadrelunn");
  EXPECT_EQ(firstRowWhenAsked, "2021.11.12 12:10:12") << "still the placeholder row, not yet the history";
  EXPECT_FALSE(visibleWhenAsked);
  ASSERT_EQ(ListView_GetItemCount(list), 1);
  char fileName[64] = {};
  ListView_GetItemText(list, 0, 1, fileName, sizeof fileName);
  EXPECT_STREQ(fileName, "a.png") << "the history was loaded afterwards";

  ScriptedInteraction quiet;
  auto unchecked = MainWindow::Create(quiet, {folder.path(), false, source});
  unchecked->OnMainWindowCreated();
  EXPECT_TRUE(quiet.steps.empty());
  window.reset();
  unchecked.reset();
  PumpMessages();
}

}  // namespace
