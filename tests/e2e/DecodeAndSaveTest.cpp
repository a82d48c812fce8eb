#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "QuendralSession.h"

namespace {

// A program the given process started, by its executable's name; 0 when there is none.
DWORD ChildProcess(DWORD parent, const std::string& executable) {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  DWORD found = 0;
  for (BOOL more = ::Process32First(snapshot, &entry); more && !found; more = ::Process32Next(snapshot, &entry)) {
    if (entry.th32ParentProcessID == parent && ::lstrcmpiA(entry.szExeFile, executable.c_str()) == 0) {
      found = entry.th32ProcessID;
    }
  }
  ::CloseHandle(snapshot);
  return found;
}

// Closes the folder window the shell opened, or ends its program when no window comes, so that
// nothing of this run stays behind (nor holds the output of the test run open).
void EndFolderWindow(DWORD shell, const std::string& title) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, shell);
  if (!process) return;
  HWND window = nullptr;
  if (WaitUntil(10000, [&] { return (window = ::FindWindowA(nullptr, title.c_str())) != nullptr; })) {
    ::PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (::WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) ::TerminateProcess(process, 1);
  ::CloseHandle(process);
}

}  // namespace

TEST(DecodeAndSave, AnEncodedFileEndingInZeroBytesComesBackExactFromItsHistoryRowThroughTheSaveDialog) {
  ProgramFolder folder;
  std::mt19937 random(6);
  std::string original = "\x89PNG\r\n\x1A\n";
  while (original.size() < 3000) original += static_cast<char>(random());
  original += std::string(4, '\0');
  ASSERT_TRUE(WriteFileBytes(folder / "原图.png", original));

  {
    QuendralSession program(folder);
    ASSERT_TRUE(program.Start());
    program.SetText(ControlId::地址, folder / "原图.png");
    program.Click(ControlId::开始);
    ASSERT_TRUE(WaitUntil(20000, [&] { return program.RowCount() == 1 && program.CellText(0, 1) == "原图.png"; }));
    program.CloseWithCloseBox();
    ASSERT_EQ(program.WaitForExit(), 0u);
  }

  QuendralSession program(folder);
  ASSERT_TRUE(program.Start());
  ASSERT_EQ(program.RowCount(), 1);
  program.ClickRow(0);
  ASSERT_FALSE(program.Text(ControlId::编码文本).empty());
  program.Click(ControlId::解码);
  HWND dialog = program.WaitForWindow("请选择保存的位置");
  ASSERT_TRUE(dialog);
  // The dialog fills its boxes once it shows; the row's file name is proposed.
  EXPECT_TRUE(WaitUntil(5000, [&] { return WindowText(FileDialogNameField(dialog)) == "原图.png"; }))
      << WindowText(FileDialogNameField(dialog));

  // A folder name of this run's own, so that no window left from an earlier run is taken for its.
  std::string shownFolder = "还原的" + std::to_string(::GetCurrentProcessId());
  std::string saved = folder / ("新文件夹\\" + shownFolder + "\\图.png");
  AnswerFileDialog(dialog, saved);
  ASSERT_TRUE(WaitUntil(20000, [&] { return ReadFileBytes(saved).size() == original.size(); })) << saved;
  EXPECT_EQ(ReadFileBytes(saved), original);
  EXPECT_FALSE(program.WaitForWindow("保存失败", 500));
  // The shell shows the new file in its folder: a program of its own that ours starts.
  DWORD shell = 0;
  EXPECT_TRUE(WaitUntil(20000, [&] { return (shell = ChildProcess(program.processId(), "explorer.exe")) != 0; }));
  if (shell) EndFolderWindow(shell, shownFolder);

  program.CloseWithCloseBox();
  EXPECT_EQ(program.WaitForExit(), 0u);
}
