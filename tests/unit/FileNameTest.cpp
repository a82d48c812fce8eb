#include "encode/FileName.h"

#include <gtest/gtest.h>

namespace {

TEST(FileNameFromAddress, TakesTheLastElementOfAPathOrLink) {
  const struct {
    const char* address;
    const char* name;
  } cases[] = {
      {"D:\\图片\\cat.png", "cat.png"},
      {"D:/图片/cat.png", "cat.png"},
      {"cat.png", "cat.png"},
      {"http://example.com/files/cat.png?v=2", "cat.png?v=2"},
      {"https://example.com/图片.png", "图片.png"},
      {"http://example.com/files/", "files/"},
      {"http://example.com/files//", "files//"},
      {"http://example.com/a//b", "b"},
      {"http://example.com", "example.com"},
      {"http://example.com/", "example.com/"},
      {"http://example.com:8080", "8080"},
      {"file:cat.png", "cat.png"},
      {"C:", "C:"},
      {"", ""},
      // An element that ends in a backslash gives no name.
      {"http://example.com/files\\", ""},
      {"D:\\图片\\", ""},
      {"\\", ""},
      // 乗 is 0x81 0x5C and 誠 0xD5 0x5C: their second bytes are no backslashes.
      {"D:\\图片\\乗誠.png", "乗誠.png"},
      {"D:\\文件\\乗", "乗"},
      {"D:\\乗\\誠", "誠"},
      {"http://example.com/乗/", "乗/"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileNameFromAddress(c.address), c.name) << c.address;
}

}  // namespace
