#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "HistoryListSupport.h"
#include "WinTestSupport.h"
#include "TestData.h"
#include "codec/Base64.h"
#include "decode/DecodeAndSave_win.h"
#include "platform/Text_win.h"

namespace {

// Base64 broken into lines of 76 characters, each ended by the given line break.
std::string Wrapped(const std::string& text, const std::string& lineBreak) {
  std::string wrapped;
  for (size_t i = 0; i < text.size(); i += 76) wrapped += text.substr(i, 76) + lineBreak;
  return wrapped;
}

// Every file and folder under the folder, as sorted paths relative to it.
void ListEntries(const std::string& folder, const std::string& prefix, std::vector<std::string>& entries) {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW(ToWide(folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = FromWide(found.cFileName);
    if (name == "." || name == "..") continue;
    entries.push_back(prefix + name);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListEntries(folder + "\\" + name, prefix + name + "\\", entries);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

std::vector<std::string> EntriesOf(const std::string& folder) {
  std::vector<std::string> entries;
  ListEntries(folder, "", entries);
  std::sort(entries.begin(), entries.end());
  return entries;
}

class DecodeAndSaveTest : public MainWindowTest {
 protected:
  HWND box() const { return control(ControlId::编码文本); }
  void ClickDecode(const std::string& text) {
    SetControlText(box(), text);
    Click(ControlId::解码);
  }
  void ExpectNothingShown() {
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.revealedPaths.empty());
  }

  ScratchFolder target;
};

TEST_F(DecodeAndSaveTest, AsksForANameInTheProgramFolderWithTheFileNameOfTheLastHistoryRow) {
  ui.saveAnswers = {"", ""};
  ClickDecode("QUJD");
  ASSERT_EQ(ui.saveRequests.size(), 1u);
  const SaveFileRequest& request = ui.saveRequests[0];
  EXPECT_TRUE(request.preview);
  EXPECT_EQ(request.title, "请选择保存的位置");
  EXPECT_EQ(request.defaultName, programFolder.path() + "\\") << "no history row chosen since start";
  EXPECT_EQ(request.filter, "所有文件|*.*|jpg图片|*.jpg|png图片|*.png");
  EXPECT_EQ(request.initialFolder, programFolder.path());
  EXPECT_EQ(request.defaultExtension, ".jpg");
  EXPECT_TRUE(request.overwritePrompt);
  EXPECT_FALSE(request.pathMustExist);
  EXPECT_FALSE(request.keepDirectory);

  InsertRowAtTop(control(ControlId::历史记录), {"2021.11.12 12:10:12", "猫 图.png", "QUJD"});
  SelectRow(control(ControlId::历史记录), 0);
  Click(ControlId::解码);
  ASSERT_EQ(ui.saveRequests.size(), 2u);
  EXPECT_EQ(ui.saveRequests[1].defaultName, programFolder / "猫 图.png") << "the row's file name";

  // Both dialogs were cancelled: nothing written anywhere, nothing shown.
  ExpectNothingShown();
  EXPECT_EQ(EntriesOf(programFolder.path()), std::vector<std::string>{});
  EXPECT_EQ(GetControlText(box()), "QUJD");
}

TEST_F(DecodeAndSaveTest, SavesTheExactBytesCreatingTheMissingFoldersAndShowsTheFile) {
  std::string binary = "\x89PNG\r\n\x1A\n" + RandomBytes(1500, 7) + std::string(5, '\0');
  const struct {
    const char* what;
    std::string text;
    std::string bytes;
  } cases[] = {
      {"one line", "QUJD", "ABC"},
      {"ending in zero bytes", EncodeBase64(binary), binary},
      {"a single zero byte", "AA==", std::string(1, '\0')},
      {"a data URI", "data:image/png;base64," + EncodeBase64(binary), binary},
      {"wrapped with CR LF", Wrapped(EncodeBase64(binary), "\r\n"), binary},
      {"wrapped with LF", Wrapped(EncodeBase64(binary), "\n"), binary},
      {"an empty box", "", ""},
  };
  int index = 0;
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    std::string path = target / ("新建\\淺\\乗" + std::to_string(index++) + "\\文件.png");
    ui.saveAnswers = {path};
    ui.revealedPaths.clear();
    ClickDecode(test.text);
    ASSERT_TRUE(FixtureExists(path));
    EXPECT_EQ(ReadFixtureFile(path), test.bytes);
    EXPECT_EQ(ui.revealedPaths, std::vector<std::string>{path});
    EXPECT_TRUE(ui.messages.empty());
  }
}

TEST_F(DecodeAndSaveTest, ReplacesAnExistingFileWholeAndLeavesNothingElseBeside) {
  std::string path = target / "旧.png";
  WriteFixtureFile(path, std::string(10000, 'x'));
  ui.saveAnswers = {path};
  ClickDecode("QUJD");
  EXPECT_EQ(ReadFixtureFile(path), "ABC");
  EXPECT_EQ(EntriesOf(target.path()), std::vector<std::string>{"旧.png"}) << "no temporary file stays behind";
  EXPECT_EQ(ui.revealedPaths, std::vector<std::string>{path});
}

TEST_F(DecodeAndSaveTest, AnInvalidTextSaysWhereItGoesWrongAndAsksForNoName) {
  const struct {
    std::string text;
    size_t position;
  } cases[] = {
      {"QUJD*REVG", 5},
      {"QQ==QQ==", 3},
      {"QUJD\r\nRU表ZH", 9},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.text);
    ui.messages.clear();
    ClickDecode(test.text);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "base64编码无效：第" + std::to_string(test.position) + "个字节有误，未保存任何文件。");
    EXPECT_EQ(ui.messages[0].title, "解码失败");
    EXPECT_EQ(ui.messages[0].style, 48u);
    EXPECT_EQ(ui.messages[0].owner, window->handle());
    EXPECT_NE(ui.messages[0].cursor, ::LoadCursorA(nullptr, IDC_WAIT)) << "the hourglass is gone by then";
  }
  EXPECT_TRUE(ui.saveRequests.empty()) << "the message comes before any dialog";
  EXPECT_TRUE(ui.revealedPaths.empty());
  EXPECT_EQ(EntriesOf(programFolder.path()), std::vector<std::string>{});
}

TEST_F(DecodeAndSaveTest, AFileThatCannotBeWrittenIsReportedAndNotShown) {
  ::CreateDirectoryW(ToWide(target / "文件夹").c_str(), nullptr);
  WriteFixtureFile(target / "文件", "old");
  WriteFixtureFile(target / "只读.png", "old");
  ::SetFileAttributesW(ToWide(target / "只读.png").c_str(), FILE_ATTRIBUTE_READONLY);
  const struct {
    const char* what;
    std::string path;
  } cases[] = {
      {"the name of a folder", target / "文件夹"},
      {"inside a file, where no folder can be made", target / "文件\\新.png"},
      {"a read-only file", target / "只读.png"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    ui.messages.clear();
    ui.saveAnswers = {test.path};
    ClickDecode("QUJD");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "无法写入文件：" + test.path);
    EXPECT_EQ(ui.messages[0].title, "保存失败");
    EXPECT_EQ(ui.messages[0].style, 48u);
    EXPECT_EQ(ui.messages[0].owner, window->handle());
  }
  EXPECT_TRUE(ui.revealedPaths.empty());
  EXPECT_EQ(ReadFixtureFile(target / "文件"), "old");
  EXPECT_EQ(ReadFixtureFile(target / "只读.png"), "old");
  EXPECT_EQ(EntriesOf(target.path()), (std::vector<std::string>{"文件", "文件夹", "只读.png"}));
}

// A clock on which every look at the queue is due, so that the messages waiting when the decode
// starts are handled inside it.
int clockReadings = 0;
ULONGLONG EveryStepIsDue() { return static_cast<ULONGLONG>(++clockReadings) * 1000; }

class DecodeWhileTheWindowRunsTest : public DecodeAndSaveTest {
 protected:
  void SetUp() override {
    DecodeAndSaveTest::SetUp();
    bytes = RandomBytes(24 * 1024, 11);
    // Lines keep the rich edit quick; the decoder reports progress every few thousand groups.
    SetControlText(box(), Wrapped(EncodeBase64(bytes), "\r\n"));
    clockReadings = 0;
  }
  void DecodeWithMessagesWaiting() {
    CommandContext context = window->Context();
    DecodeAndSave(context, EveryStepIsDue);
    ASSERT_GT(clockReadings, 2) << "the decode must have let the window handle its messages";
  }

  std::string bytes;
};

TEST_F(DecodeWhileTheWindowRunsTest, ClearingTheBoxMeanwhileSavesWhatWasDecoded) {
  std::string path = target / "a.bin";
  ui.saveAnswers = {path};
  ::PostMessageA(control(ControlId::复制2), BM_CLICK, 0, 0);
  DecodeWithMessagesWaiting();
  EXPECT_EQ(GetControlText(box()), "");
  EXPECT_EQ(ReadFixtureFile(path), bytes);
}

TEST_F(DecodeWhileTheWindowRunsTest, ASecondClickMeanwhileAsksForNoSecondName) {
  std::string path = target / "a.bin";
  ui.saveAnswers = {path, target / "b.bin"};
  ::PostMessageA(control(ControlId::解码), BM_CLICK, 0, 0);
  DecodeWithMessagesWaiting();
  EXPECT_EQ(ui.saveRequests.size(), 1u);
  EXPECT_EQ(ReadFixtureFile(path), bytes);
  EXPECT_EQ(EntriesOf(target.path()), std::vector<std::string>{"a.bin"});
}

TEST_F(DecodeWhileTheWindowRunsTest, AHistoryRowChosenMeanwhileNamesTheFileOfWhatWasDecoded) {
  HWND list = control(ControlId::历史记录);
  InsertRowAtTop(list, {"2021.11.12 12:10:12", "别的.png", "QUJD"});
  LVITEMA chosen{};
  chosen.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
  chosen.state = LVIS_FOCUSED | LVIS_SELECTED;
  ::PostMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&chosen));
  std::string path = target / "a.bin";
  ui.saveAnswers = {path};
  DecodeWithMessagesWaiting();
  EXPECT_EQ(GetControlText(box()), "QUJD") << "the row was shown during the decode";
  ASSERT_EQ(ui.saveRequests.size(), 1u);
  EXPECT_EQ(ui.saveRequests[0].defaultName, programFolder / "别的.png");
  EXPECT_EQ(ReadFixtureFile(path), bytes);
}

TEST_F(DecodeWhileTheWindowRunsTest, ClosingTheWindowMeanwhileEndsTheCommandQuietly) {
  HWND main = window->handle();
  ui.saveAnswers = {target / "a.bin"};
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  DecodeWithMessagesWaiting();
  EXPECT_FALSE(::IsWindow(main));
  EXPECT_TRUE(ui.saveRequests.empty());
  ExpectNothingShown();
  EXPECT_EQ(EntriesOf(target.path()), std::vector<std::string>{});
}

}  // namespace
