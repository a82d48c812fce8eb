#include <gtest/gtest.h>

#include "QuendralSession.h"

TEST(StartAndEnd, TheWindowShowsCentredWithItsCaptionAndEscEndsTheProgramCleanly) {
  ProgramFolder folder;
  QuendralSession program(folder);
  ASSERT_TRUE(program.Start());
  EXPECT_EQ(WindowText(program.mainWindow()), "Quendral 1.0.0 by:Vadrelunn");
  EXPECT_EQ(program.Text(ControlId::开始), "开始编码");
  EXPECT_EQ(program.Text(ControlId::解码), "base64解码");
  EXPECT_EQ(program.RowCount(), 0) << "with no history file the placeholder row is gone and no row is added";

  RECT rect{};
  ::GetWindowRect(program.mainWindow(), &rect);
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((rect.left + rect.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((rect.top + rect.bottom) / 2, (work.top + work.bottom) / 2, 1);

  program.PressEscape();
  EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST(StartAndEnd, TheCloseBoxEndsTheProgramCleanly) {
  ProgramFolder folder;
  QuendralSession program(folder);
  ASSERT_TRUE(program.Start());
  program.CloseWithCloseBox();
  EXPECT_EQ(program.WaitForExit(), 0u);
}
