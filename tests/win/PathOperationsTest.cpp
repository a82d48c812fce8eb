#include <windows.h>

#include <string>
#include <thread>

#include "WinTestSupport.h"
#include "decode/PathOperations_win.h"
#include "platform/Handles.h"

namespace {

bool WideDirectoryExists(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(PathOperations, ToWidePathReadsCodePage936WhateverTheSystemCodePage) {
  EXPECT_EQ(ToWidePath(""), L"");
  EXPECT_EQ(ToWidePath("C:\\a.png"), L"C:\\a.png");
  // 淺 and 乗 end in the byte of a backslash; 表 does not.
  EXPECT_EQ(ToWidePath("C:\\淺\\乗\\表.png"), L"C:\\\u6DFA\\\u4E57\\\u8868.png");
  EXPECT_EQ(ToWidePath(std::string("a\0b", 3)), L"a") << "the text ends at its first zero byte";
}

TEST(PathOperations, IsExistingDirectoryIsTrueForFoldersOnly) {
  ScratchFolder scratch;
  WriteFixtureFile(scratch / "淺.bin", "x");
  ::CreateDirectoryW(ToWidePath(scratch / "乗").c_str(), nullptr);
  EXPECT_TRUE(IsExistingDirectory(scratch.path()));
  EXPECT_TRUE(IsExistingDirectory(scratch / "乗"));
  EXPECT_TRUE(IsExistingDirectory(scratch / "乗\\"));
  EXPECT_FALSE(IsExistingDirectory(scratch / "淺.bin"));
  EXPECT_FALSE(IsExistingDirectory(scratch / "missing"));
  EXPECT_FALSE(IsExistingDirectory(""));
}

TEST(PathOperations, DirectoryOfPathKeepsAnExistingFolderAndCutsAFileName) {
  ScratchFolder scratch;
  ::CreateDirectoryW(ToWidePath(scratch / "淺").c_str(), nullptr);
  EXPECT_EQ(DirectoryOfPath(scratch / "淺"), scratch / "淺");
  EXPECT_EQ(DirectoryOfPath(scratch / "淺\\乗.png"), scratch / "淺\\");
  EXPECT_EQ(DirectoryOfPath(scratch / "乗"), scratch.path() + "\\") << "a name that does not exist is a file's";
  EXPECT_EQ(DirectoryOfPath("乗.png"), "");
}

TEST(PathOperations, CreateDirectoryChainMakesEveryMissingFolderWithItsDoubleByteName) {
  ScratchFolder scratch;
  ::CreateDirectoryW(ToWidePath(scratch / "已有").c_str(), nullptr);
  CreateDirectoryChain(scratch / "已有\\淺\\乗\\表\\");
  std::wstring base = ToWidePath(scratch.path());
  EXPECT_TRUE(WideDirectoryExists(base + L"\\\u5DF2\u6709\\\u6DFA"));
  EXPECT_TRUE(WideDirectoryExists(base + L"\\\u5DF2\u6709\\\u6DFA\\\u4E57"));
  EXPECT_TRUE(WideDirectoryExists(base + L"\\\u5DF2\u6709\\\u6DFA\\\u4E57\\\u8868"));

  // Without a trailing backslash the last name is a folder too; running again changes nothing.
  CreateDirectoryChain(scratch / "新\\文件夹");
  CreateDirectoryChain(scratch / "新\\文件夹");
  EXPECT_TRUE(IsExistingDirectory(scratch / "新\\文件夹"));
}

TEST(PathOperations, CreateDirectoryChainPassesOverWhatCannotBeMade) {
  ScratchFolder scratch;
  WriteFixtureFile(scratch / "file", "x");
  CreateDirectoryChain(scratch / "file\\sub\\");
  EXPECT_EQ(ReadFixtureFile(scratch / "file"), "x");
  EXPECT_FALSE(IsExistingDirectory(scratch / "file\\sub"));
  CreateDirectoryChain("");
  CreateDirectoryChain("C:");
}

// RevealInFolder initialises COM for its shell call with ScopedCoInitialize. On a thread whose
// COM is multithreaded CoInitialize fails, and uninitialising anyway would end the thread's own.
TEST(PathOperations, TheShellCallsComInitialisationLeavesTheThreadsOwnAlone) {
  std::thread([] {
    ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    {
      ScopedCoInitialize com;
      EXPECT_EQ(com.result(), RPC_E_CHANGED_MODE);
    }
    EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE) << "the thread's COM must still be there";
    ::CoUninitialize();
    ::CoUninitialize();
  }).join();
  // On this thread OLE is already up: the shell call's initialisation is counted and undone.
  {
    ScopedCoInitialize com;
    EXPECT_EQ(com.result(), S_FALSE);
  }
  EXPECT_EQ(::CoInitialize(nullptr), S_FALSE) << "the program's OLE initialisation stays";
  ::CoUninitialize();
}

}  // namespace
