#include "decode/PathRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Both characters end in the byte of a backslash: 淺 is 9C 5C, 乗 is 81 5C.
TEST(PathRules, TheDoubleByteNamesOfTheseTablesEndInTheByteOfABackslash) {
  EXPECT_EQ(std::string("淺"), std::string("\x9C\\"));
  EXPECT_EQ(std::string("乗"), std::string("\x81\\"));
  EXPECT_EQ(std::string("表"), std::string("\xB1\xED"));
}

struct DirectoryCase {
  std::string path;
  std::string directory;
};

TEST(PathRules, DirectoryPartEndsAtTheLastBackslashCharacter) {
  const DirectoryCase cases[] = {
      {"C:\\a\\b.png", "C:\\a\\"},
      {"C:\\a\\b\\", "C:\\a\\b\\"},
      {"C:\\b.png", "C:\\"},
      {"b.png", ""},
      {"", ""},
      {"\\\\server\\share\\x.bin", "\\\\server\\share\\"},
      {"D:\\文件\\历史记录.ebb", "D:\\文件\\"},
      // A trail byte 0x5C is part of its character, never a separator.
      {"C:\\淺\\乗", "C:\\淺\\"},
      {"C:\\淺乗", "C:\\"},
      {"淺", ""},
      {"C:\\乗\\淺.png", "C:\\乗\\"},
      // 0x80 is the euro sign, one byte on its own: the backslash after it separates.
      {"C:\\\x80\\x.png", "C:\\\x80\\"},
      // A lead byte at the very end has no partner and stays one character.
      {"C:\\a\\\xB1", "C:\\a\\"},
  };
  for (const DirectoryCase& test : cases) {
    EXPECT_EQ(DirectoryPartOfPath(test.path), test.directory) << test.path;
  }
}

struct ChainCase {
  std::string directory;
  std::vector<std::string> created;
};

TEST(PathRules, DirectoriesToCreateAreThePrefixesBeforeEachBackslashButTheFirstThenTheWhole) {
  const ChainCase cases[] = {
      {"C:\\a\\b\\", {"C:\\a", "C:\\a\\b", "C:\\a\\b\\"}},
      {"C:\\a\\b", {"C:\\a", "C:\\a\\b"}},
      {"C:\\", {"C:\\"}},
      {"C:\\a", {"C:\\a"}},
      {"Z:\\tmp\\新文件夹\\图片\\", {"Z:\\tmp", "Z:\\tmp\\新文件夹", "Z:\\tmp\\新文件夹\\图片", "Z:\\tmp\\新文件夹\\图片\\"}},
      {"C:\\淺\\乗\\", {"C:\\淺", "C:\\淺\\乗", "C:\\淺\\乗\\"}},
      {"C:\\淺乗淺\\x", {"C:\\淺乗淺", "C:\\淺乗淺\\x"}},
      {"\\\\server\\share\\", {"\\", "\\\\server", "\\\\server\\share", "\\\\server\\share\\"}},
      // Fewer than three characters: nothing, however many bytes they take.
      {"", {}},
      {"C:", {}},
      {"淺\\", {}},
      {"淺乗", {}},
      {"abc", {"abc"}},
      {"淺乗淺", {"淺乗淺"}},
  };
  for (const ChainCase& test : cases) {
    EXPECT_EQ(DirectoriesToCreate(test.directory), test.created) << test.directory;
  }
}

}  // namespace
