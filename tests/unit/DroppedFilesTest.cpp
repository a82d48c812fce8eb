#include "app/DroppedFiles.h"

#include <gtest/gtest.h>

TEST(DroppedFilesText, OnePathStandsAloneAndSeveralEachEndWithALineBreak) {
  EXPECT_EQ(DroppedFilesText({"D:\\pics\\cat.png"}), "D:\\pics\\cat.png");
  EXPECT_EQ(DroppedFilesText({"C:\\a.png", "C:\\图片\\b.png"}), "C:\\a.png\r\nC:\\图片\\b.png\r\n");
  EXPECT_EQ(DroppedFilesText({"C:\\a", "C:\\b", "C:\\c"}), "C:\\a\r\nC:\\b\r\nC:\\c\r\n");
}
