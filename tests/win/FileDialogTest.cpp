#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "platform/Text_win.h"
#include "util/FileDialog_win.h"

namespace {

constexpr char ProgramFilter[] = "所有文件|*.*|jpg图片|*.jpg|png图片|*.png";

// What the real dialog showed when it opened.
struct SeenDialog {
  bool appeared = false;
  std::string title;
  std::string fileName;  // the name box
  std::string folder;    // the folder it shows
  std::vector<std::string> fileTypes;
};

// Waits on a thread of its own for the dialog that the test thread opens, looks at it and then
// types a name and presses OK, or presses Cancel when no name is given.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(std::string answer) : answer_(std::move(answer)), testThread_(::GetCurrentThreadId()) {
    thread_ = std::thread([this] { Run(); });
  }
  // Call once the dialog call has returned.
  SeenDialog Finish() {
    returned_ = true;
    thread_.join();
    return seen_;
  }

 private:
  void Run() {
    HWND dialog = nullptr;
    for (int tries = 0; !dialog && !returned_ && tries < 400; ++tries) {
      dialog = VisibleDialogOfThread(testThread_);
      if (!dialog) ::Sleep(25);
    }
    if (!dialog) return;
    ::Sleep(200);  // let the dialog fill its folder view and boxes
    seen_.appeared = true;
    seen_.title = GetControlText(dialog);
    seen_.fileName = GetControlText(::GetDlgItem(dialog, cmb13));
    // An ANSI dialog answers in ANSI; the length counts the terminating NUL.
    std::string folder(MAX_PATH, '\0');
    LRESULT length = ::SendMessageA(dialog, CDM_GETFOLDERPATH, folder.size(), reinterpret_cast<LPARAM>(folder.data()));
    if (length > 0) seen_.folder = folder.substr(0, static_cast<size_t>(length) - 1);
    HWND types = ::GetDlgItem(dialog, cmb1);
    LRESULT count = ::SendMessageA(types, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      std::string item(static_cast<size_t>(::SendMessageA(types, CB_GETLBTEXTLEN, i, 0)), '\0');
      ::SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
      seen_.fileTypes.push_back(item);
    }
    if (!answer_.empty()) ::SetWindowTextA(::GetDlgItem(dialog, cmb13), answer_.c_str());
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer_.empty() ? IDCANCEL : IDOK, BN_CLICKED), 0);
  }

  std::string answer_;
  DWORD testThread_;
  std::atomic<bool> returned_{false};
  SeenDialog seen_;
  std::thread thread_;
};

const std::vector<std::string> ProgramFileTypes = {"所有文件", "jpg图片", "png图片"};

TEST(FileDialog, OpenShowsTheTitleFolderAndFileTypesAndGivesTheChosenPath) {
  for (bool preview : {false, true}) {
    ScratchFolder folder;
    WriteFixtureFile(folder / "猫.png", "png");
    DialogAnswerer user("猫.png");
    std::string chosen = FileDialog().OpenFile({.preview = preview,
                                                .title = "请选择要编码的文件",
                                                .filter = ProgramFilter,
                                                .initialFolder = folder.path(),
                                                .defaultExtension = ".jpg",
                                                .createPrompt = true,
                                                .fileMustExist = true,
                                                .pathMustExist = true});
    SeenDialog seen = user.Finish();
    SCOPED_TRACE(preview ? "with preview" : "plain");
    ASSERT_TRUE(seen.appeared);
    EXPECT_EQ(seen.title, "请选择要编码的文件");
    EXPECT_EQ(seen.fileName, "");
    EXPECT_EQ(seen.folder, folder.path());
    EXPECT_EQ(seen.fileTypes, ProgramFileTypes);
    EXPECT_EQ(chosen, folder / "猫.png");
  }
}

TEST(FileDialog, CancelGivesEmptyText) {
  ScratchFolder folder;
  WriteFixtureFile(folder / "a.png", "png");
  DialogAnswerer user("");
  EXPECT_EQ(FileDialog().OpenFile({.initialFolder = folder.path()}), "");
  EXPECT_TRUE(user.Finish().appeared);
}

TEST(FileDialog, SaveProposesTheDefaultNameAndGivesTheChosenPath) {
  for (bool preview : {false, true}) {
    ScratchFolder folder;
    DialogAnswerer user("");
    std::string cancelled = FileDialog().SaveFile({.preview = preview, .title = "请选择保存的位置", .defaultName = folder / "猫.png",
                           .filter = ProgramFilter, .initialFolder = folder.path(), .defaultExtension = ".jpg",
                           .overwritePrompt = true});
    SeenDialog seen = user.Finish();
    SCOPED_TRACE(preview ? "with preview" : "plain");
    ASSERT_TRUE(seen.appeared);
    EXPECT_EQ(seen.title, "请选择保存的位置");
    EXPECT_EQ(seen.fileName, "猫.png");
    EXPECT_EQ(seen.fileTypes, ProgramFileTypes);
    EXPECT_EQ(cancelled, "");
  }
  ScratchFolder folder;
  DialogAnswerer chooser(folder / "新.png");
  EXPECT_EQ(FileDialog().SaveFile({.defaultName = folder / "猫.png", .overwritePrompt = true}), folder / "新.png");
  EXPECT_TRUE(chooser.Finish().appeared);
}

TEST(FileDialog, ADefaultNameTooLongForTheBufferIsLeftOut) {
  ScratchFolder folder;
  std::string tooLong = folder / std::string(300 - folder.path().size(), 'n');
  DialogAnswerer user("");
  EXPECT_EQ(FileDialog().SaveFile({.defaultName = tooLong, .initialFolder = folder.path()}), "");
  SeenDialog seen = user.Finish();
  ASSERT_TRUE(seen.appeared);
  EXPECT_EQ(seen.fileName, "");
  EXPECT_EQ(seen.folder, folder.path());
}

TEST(FileDialog, AFolderAndBackslashAsDefaultNameOpensThatFolderWithNoName) {
  ScratchFolder folder;
  DialogAnswerer user("");
  FileDialog().SaveFile({.defaultName = folder.path() + "\\"});
  SeenDialog seen = user.Finish();
  ASSERT_TRUE(seen.appeared);
  EXPECT_EQ(seen.fileName, "");
  EXPECT_EQ(seen.folder, folder.path());
}

}  // namespace
