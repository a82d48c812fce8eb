#include "util/FileDialogRequest.h"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

constexpr char ProgramFilter[] = "所有文件|*.*|jpg图片|*.jpg|png图片|*.png";

TEST(DialogFilter, EveryBarBecomesANulAndTwoNulsCloseTheList) {
  const struct {
    std::string filter;
    std::string list;
  } cases[] = {
      {ProgramFilter, "所有文件\0*.*\0jpg图片\0*.jpg\0png图片\0*.png\0\0"s},
      {"", "\0\0"s},
      {"只有说明", "只有说明\0\0"s},
      {"a||b|", "a\0\0b\0\0\0"s},
      // 亅 is 0x81 0x7C: its second byte is no bar.
      {"亅|*.x", "亅\0*.x\0\0"s},
  };
  for (const auto& c : cases) EXPECT_EQ(DialogFilter(c.filter), c.list) << c.filter;
}

TEST(DialogFilter, TheProgramsFileTypesAreAllFilesJpgAndPngPictures) {
  EXPECT_STREQ(ProgramFileFilter, ProgramFilter);
}

TEST(DialogFlags, ExplorerAlwaysAndOneBitForEveryFlagAsked) {
  EXPECT_EQ(DialogFlags(OpenFileRequest{}), 0x80000u);
  EXPECT_EQ(DialogFlags(SaveFileRequest{}), 0x80000u);
  EXPECT_EQ(DialogFlags(OpenFileRequest{.createPrompt = true}), 0x82000u);
  EXPECT_EQ(DialogFlags(OpenFileRequest{.fileMustExist = true}), 0x81000u);
  EXPECT_EQ(DialogFlags(OpenFileRequest{.pathMustExist = true}), 0x80800u);
  EXPECT_EQ(DialogFlags(OpenFileRequest{.keepDirectory = true}), 0x80008u);
  EXPECT_EQ(DialogFlags(SaveFileRequest{.overwritePrompt = true}), 0x80002u);
  EXPECT_EQ(DialogFlags(SaveFileRequest{.pathMustExist = true}), 0x80800u);
  EXPECT_EQ(DialogFlags(SaveFileRequest{.keepDirectory = true}), 0x80008u);
  // The choose-file and the decode-and-save calls.
  EXPECT_EQ(DialogFlags(OpenFileRequest{.createPrompt = true, .fileMustExist = true, .pathMustExist = true}),
            0x83800u);
  EXPECT_EQ(DialogFlags(SaveFileRequest{.overwritePrompt = true}), 0x80002u);
}

TEST(FileNameBuffer, HoldsTheDefaultNameWhenItFitsWithItsNulAndIsOtherwiseEmpty) {
  const std::string fits(254, 'a');
  const std::string tooLong(255, 'a');
  const struct {
    std::string defaultName;
    std::string held;
  } cases[] = {
      {"", ""},
      {"D:\\程序\\", "D:\\程序\\"},
      {"D:\\程序\\cat.png", "D:\\程序\\cat.png"},
      {fits, fits},
      {tooLong, ""},
      {std::string(1000, 'b'), ""},
  };
  for (const auto& c : cases) {
    FileNameBuffer buffer = MakeFileNameBuffer(c.defaultName);
    EXPECT_EQ(FileNameInBuffer(buffer), c.held) << c.defaultName.size() << " bytes";
    EXPECT_TRUE(std::all_of(buffer.begin() + c.held.size(), buffer.end(), [](char byte) { return byte == 0; }));
  }
}

TEST(FileNameBuffer, ReadsUpToTheFirstNulOrTheWholeBuffer) {
  FileNameBuffer buffer{};
  std::string chosen = "C:\\图片\\b.png";
  std::copy(chosen.begin(), chosen.end(), buffer.begin());
  buffer[chosen.size() + 1] = 'x';  // what a dialog may leave after the NUL
  EXPECT_EQ(FileNameInBuffer(buffer), chosen);
  buffer.fill('z');
  EXPECT_EQ(FileNameInBuffer(buffer), std::string(255, 'z'));
}

}  // namespace
