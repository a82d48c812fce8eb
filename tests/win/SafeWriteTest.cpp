#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

#include "WinTestSupport.h"
#include "platform/Handles.h"
#include "platform/SafeWrite_win.h"
#include "platform/Text_win.h"

namespace {

// The names in a folder, so that a test sees any temporary file left behind.
std::vector<std::string> FolderNames(const ScratchFolder& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  unique_hfind search(::FindFirstFileW(ToWide(folder / "*").c_str(), &found));
  if (!search) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(FromWide(name));
  } while (::FindNextFileW(search.get(), &found));
  return names;
}

unique_hfile OpenWithoutSharing(const std::string& path) {
  return unique_hfile(::CreateFileW(ToWide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

}  // namespace

TEST(WriteFileSafely, CreatesOrReplacesTheFileWithExactlyTheBytesAndLeavesNothingElse) {
  ScratchFolder folder;
  const std::string path = folder / "历史记录.ebb";
  std::string big(20 << 20, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 4096);
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"a new file", std::string("first\0content", 13)},
      {"a shorter content over it", "ab"},
      {"nothing at all", ""},
      {"20 MB", big},
      {"back to small", "end"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(WriteFileSafely(path, c.bytes));
    EXPECT_EQ(ReadFixtureFile(path), c.bytes);
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"历史记录.ebb"});
  }
}

TEST(WriteFileSafely, KeepsTheOldFileAndLeavesNoTemporaryFileWhenItCannotReplaceIt) {
  ScratchFolder folder;
  const std::string path = folder / "old.bin";
  WriteFixtureFile(path, "old content");

  {
    SCOPED_TRACE("read-only file");
    ASSERT_TRUE(::SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(WriteFileSafely(path, "new"));
    EXPECT_EQ(ReadFixtureFile(path), "old content");
    ::SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  {
    SCOPED_TRACE("held open without sharing by another program the whole time");
    unique_hfile held = OpenWithoutSharing(path);
    ASSERT_TRUE(held);
    EXPECT_FALSE(WriteFileSafely(path, "new"));
    held.reset();
    EXPECT_EQ(ReadFixtureFile(path), "old content");
  }
  {
    SCOPED_TRACE("a folder of that name");
    ASSERT_TRUE(::CreateDirectoryW(ToWide(folder / "sub").c_str(), nullptr));
    WriteFixtureFile(folder / "sub\\inside.txt", "kept");
    EXPECT_FALSE(WriteFileSafely(folder / "sub", "new"));
    EXPECT_EQ(ReadFixtureFile(folder / "sub\\inside.txt"), "kept");
  }
  {
    SCOPED_TRACE("a folder that does not exist");
    EXPECT_FALSE(WriteFileSafely(folder / "missing\\x.bin", "new"));
    EXPECT_FALSE(FixtureExists(folder / "missing"));
  }
  EXPECT_FALSE(WriteFileSafely("", "new"));
  EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{"old.bin", "sub"}));
}

TEST(WriteFileSafely, WaitsForAFileHeldOnlyForAMoment) {
  ScratchFolder folder;
  const std::string path = folder / "held.bin";
  WriteFixtureFile(path, "old content");
  unique_hfile held = OpenWithoutSharing(path);
  ASSERT_TRUE(held);
  std::thread release([&] {
    ::Sleep(100);
    held.reset();
  });
  bool written = WriteFileSafely(path, "new content");
  release.join();
  EXPECT_TRUE(written);
  EXPECT_EQ(ReadFixtureFile(path), "new content");
  EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"held.bin"});
}

TEST(WriteFileSafely, KeepsTheAttributesOfTheFileItReplaces) {
  ScratchFolder folder;
  const std::string path = folder / "hidden.bin";
  WriteFixtureFile(path, "old");
  ASSERT_TRUE(::SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(WriteFileSafely(path, "new"));
  EXPECT_EQ(ReadFixtureFile(path), "new");
  EXPECT_TRUE(::GetFileAttributesW(ToWide(path).c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(WriteFileSafely, TheFileIsNeverMissingOrPartWrittenWhileItIsReplaced) {
  ScratchFolder folder;
  const std::string path = folder / "watched.bin";
  const std::string first(64 << 10, 'a'), second(48 << 10, 'b');
  WriteFixtureFile(path, first);
  std::atomic<bool> done{false};
  int missing = 0, otherSize = 0, looks = 0;
  // Looks without opening the file, so as not to hold it against the rename.
  std::thread watcher([&] {
    std::wstring widePath = ToWide(path);
    while (!done) {
      WIN32_FILE_ATTRIBUTE_DATA data{};
      if (!::GetFileAttributesExW(widePath.c_str(), GetFileExInfoStandard, &data)) {
        ++missing;
        continue;
      }
      if (data.nFileSizeLow != first.size() && data.nFileSizeLow != second.size()) ++otherSize;
      ++looks;
    }
  });
  int failures = 0;
  for (int i = 0; i < 300; ++i) failures += !WriteFileSafely(path, i % 2 ? first : second);
  done = true;
  watcher.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(otherSize, 0);
  EXPECT_GT(looks, 0);
  EXPECT_EQ(ReadFixtureFile(path), first);
}
