#include <windows.h>

#include <string>
#include <thread>

#include "WinTestSupport.h"
#include "platform/FileRead_win.h"
#include "platform/Handles.h"

namespace {

TEST(ReadWholeFile, TellsTheWholeFileAnEmptyFileAndAFileThatCannotBeOpenedApart) {
  ScratchFolder folder;
  std::string bytes(5000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 31);
  WriteFixtureFile(folder / "字节.bin", bytes);
  WriteFixtureFile(folder / "empty.bin", "");
  WriteFixtureFile(folder / "read-only.bin", "only read");
  ::SetFileAttributesA((folder / "read-only.bin").c_str(), FILE_ATTRIBUTE_READONLY);
  WriteFixtureFile(folder / "shared.bin", "read by another");
  WriteFixtureFile(folder / "written.bin", "written by another");
  ::CreateDirectoryA((folder / "文件夹").c_str(), nullptr);
  // Other programs holding files open: one only reads, one writes.
  unique_hfile reader(::CreateFileA((folder / "shared.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  unique_hfile writer(::CreateFileA((folder / "written.bin").c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader && writer);

  const struct {
    std::string path;
    FileReadStatus status;
    std::string bytes;
  } cases[] = {
      {folder / "字节.bin", FileReadStatus::Read, bytes},
      {folder / "empty.bin", FileReadStatus::Read, ""},
      {folder / "read-only.bin", FileReadStatus::Read, "only read"},
      {folder / "shared.bin", FileReadStatus::Read, "read by another"},
      {folder / "written.bin", FileReadStatus::CannotOpen, ""},
      {folder / "missing.bin", FileReadStatus::Missing, ""},
      {folder / "没有的文件夹\\x.bin", FileReadStatus::Missing, ""},
      {folder / "文件夹", FileReadStatus::CannotOpen, ""},
      {folder / "*.bin", FileReadStatus::CannotOpen, ""},
      {"", FileReadStatus::Missing, ""},
  };
  for (const auto& c : cases) {
    FileReadResult result = ReadWholeFile(c.path);
    EXPECT_EQ(result.status, c.status) << c.path;
    EXPECT_TRUE(result.bytes.view() == c.bytes) << c.path << ": " << result.bytes.size() << " bytes";
  }
  // The read let the other reader be and took no lasting hold of the file.
  unique_hfile again(::CreateFileA((folder / "字节.bin").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(again);
  ::SetFileAttributesA((folder / "read-only.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(ReadWholeFile, WaitsForAFileAnotherProgramHoldsForAMoment) {
  ScratchFolder folder;
  const std::string path = folder / "历史记录.ebb";
  WriteFixtureFile(path, "rows");
  HANDLE writer = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadWholeFile(path).status, FileReadStatus::CannotOpen) << "no waiting unless asked";
  std::thread release([writer] {
    ::Sleep(300);
    ::CloseHandle(writer);
  });
  FileReadResult result = ReadWholeFile(path, 5000);
  release.join();
  EXPECT_EQ(result.status, FileReadStatus::Read);
  EXPECT_EQ(result.bytes.view(), "rows");
}

TEST(AnyFileSystemEntryMatches, FilesFoldersAndMatchingPatternsCount) {
  ScratchFolder folder;
  WriteFixtureFile(folder / "猫.png", "png");
  ::CreateDirectoryA((folder / "文件夹").c_str(), nullptr);
  const struct {
    std::string pattern;
    bool matches;
  } cases[] = {
      {folder / "猫.png", true},      {folder / "文件夹", true},   {folder / "*.png", true},
      {folder / "?.png", true},       {folder / "*.jpg", false},   {folder / "狗.png", false},
      {folder / "文件夹\\", false},   {folder.path() + "\\", false}, {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(AnyFileSystemEntryMatches(c.pattern), c.matches) << c.pattern;
}

}  // namespace
