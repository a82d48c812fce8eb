#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "QuendralSession.h"

namespace {

TEST(Encode, ATypedPathIsEncodedAsAnIndependentEncoderDoesIntoTheBoxAndTheTopRow) {
  // The build leaves a sample file and its Base64 as coreutils' base64 -w0 wrote it beside the driver.
  const std::string expected = ReadFileBytes(BesideThisProgram("e2e-sample.b64"));
  ASSERT_GT(expected.size(), 1000u);
  ProgramFolder folder;
  const std::string path = folder / "样本 文件.bin";
  ASSERT_TRUE(::CopyFileA(BesideThisProgram("e2e-sample.bin").c_str(), path.c_str(), FALSE));

  QuendralSession program(folder);
  ASSERT_TRUE(program.Start());
  int rows = program.RowCount();
  program.SetText(ControlId::地址, path);
  program.Click(ControlId::开始);
  ASSERT_TRUE(program.WaitForRowCount(rows + 1));

  EXPECT_TRUE(program.Text(ControlId::编码文本) == expected);
  EXPECT_EQ(program.CellText(0, 1), "样本 文件.bin");
  EXPECT_TRUE(program.CellText(0, 2) == expected);
  EXPECT_EQ(program.CellText(0, 0).size() >= 17, true) << program.CellText(0, 0);
  program.CloseWithCloseBox();
  EXPECT_EQ(program.WaitForExit(), 0u);
}

// The program makes its own folder the current one at start, whatever folder it was started in,
// so a bare file name names a file beside the program.
TEST(Encode, ABareFileNameIsAFileBesideTheProgramWhereverItWasStarted) {
  ProgramFolder folder;
  ProgramFolder elsewhere;
  ASSERT_TRUE(WriteFileBytes(folder / "旁边.txt", "beside"));
  ASSERT_TRUE(WriteFileBytes(elsewhere / "旁边.txt", "elsewhere"));
  QuendralSession program(folder);
  program.StartIn(elsewhere.path());
  ASSERT_TRUE(program.Start());
  int rows = program.RowCount();
  program.SetText(ControlId::地址, "旁边.txt");
  program.Click(ControlId::开始);
  ASSERT_TRUE(program.WaitForRowCount(rows + 1));
  EXPECT_EQ(program.Text(ControlId::编码文本), "YmVzaWRl");  // "beside"
  program.CloseWithCloseBox();
  EXPECT_EQ(program.WaitForExit(), 0u);
  EXPECT_TRUE(FileExists(folder / "历史记录.ebb")) << "the history is kept beside the program";
  EXPECT_FALSE(FileExists(elsewhere / "历史记录.ebb"));
}

TEST(Encode, AMissingFileIsReportedInABoxOwnedByTheWindowAndAddsNoRow) {
  ProgramFolder folder;
  QuendralSession program(folder);
  ASSERT_TRUE(program.Start());
  int rows = program.RowCount();
  program.SetText(ControlId::地址, folder / "没有这个文件.png");
  program.Click(ControlId::开始);
  HWND box = program.WaitForWindow("文件不存在");
  ASSERT_TRUE(box);
  EXPECT_EQ(DialogMessage(box), "文件不存在！无法读入数据！");
  EXPECT_EQ(::GetWindow(box, GW_OWNER), program.mainWindow());
  PressDialogButton(box, IDOK);
  EXPECT_EQ(program.RowCount(), rows);
  program.CloseWithCloseBox();
  EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST(Encode, ChoosingAFileInTheOpenDialogPutsItsPathIntoTheAddress) {
  ProgramFolder folder;
  const std::string path = folder / "选中.png";
  ASSERT_TRUE(::CopyFileA(BesideThisProgram("e2e-sample.bin").c_str(), path.c_str(), FALSE));
  QuendralSession program(folder);
  ASSERT_TRUE(program.Start());
  program.Click(ControlId::打开);
  HWND dialog = program.WaitForWindow("请选择要编码的文件");
  ASSERT_TRUE(dialog);
  AnswerFileDialog(dialog, "选中.png");
  WaitUntil(10000, [&] { return !program.Text(ControlId::地址).empty(); });
  EXPECT_EQ(program.Text(ControlId::地址), path);
  program.CloseWithCloseBox();
  EXPECT_EQ(program.WaitForExit(), 0u);
}

}  // namespace
