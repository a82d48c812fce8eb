#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <functional>
#include <random>
#include <regex>
#include <string>

#include "TestWebServer.h"
#include "WinTestSupport.h"
#include "TestData.h"
#include "codec/Base64.h"
#include "encode/FileName.h"
#include "platform/Text_win.h"
#include "util/Clock_win.h"
#include "util/DateTimeText_win.h"

namespace {

int RowCount(HWND list) { return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

std::string CellText(HWND list, int row, int column) {
  std::string text(1 << 16, '\0');
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = text.data();
  cell.cchTextMax = static_cast<int>(text.size());
  text.resize(static_cast<size_t>(::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell))));
  return text;
}

struct Row {
  std::string time, fileName, text;
};

class EncodeCommandTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // The box's tag and text as an earlier command may have left them.
    SetControlTag(control(ControlId::编码文本), "先前.png");
    SetControlText(control(ControlId::编码文本), "先前的文本");
  }

  void Encode(const std::string& address) {
    SetControlText(control(ControlId::地址), address);
    before_ = DateTimeToText(CurrentDateTime(), "yyyy.M.d ", "hh:mm:ss", true);
    Click(ControlId::开始);
    after_ = DateTimeToText(CurrentDateTime(), "yyyy.M.d ", "hh:mm:ss", true);
  }

  Row TopRow() const {
    HWND list = control(ControlId::历史记录);
    return {CellText(list, 0, 0), CellText(list, 0, 1), CellText(list, 0, 2)};
  }
  int Rows() const { return RowCount(control(ControlId::历史记录)); }
  std::string BoxText() const { return GetControlText(control(ControlId::编码文本)); }
  std::string BoxTag() const { return GetControlTag(control(ControlId::编码文本)); }

  // The text was shown, the row put on top with the time of the click, the tag kept.
  void ExpectEncoded(const std::string& bytes, const std::string& fileName, int rowsBefore) {
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
    const std::string text = EncodeBase64(bytes);
    EXPECT_TRUE(BoxText() == text) << "box holds " << BoxText().size() << " characters";
    ASSERT_EQ(Rows(), rowsBefore + 1);
    Row top = TopRow();
    EXPECT_TRUE(top.time == before_ || top.time == after_) << top.time;
    EXPECT_EQ(top.fileName, fileName);
    EXPECT_TRUE(top.text == text) << "row holds " << top.text.size() << " characters";
    EXPECT_EQ(BoxTag(), "先前.png");
  }

  void ExpectRefused(const std::string& text, const std::string& title, int rowsBefore) {
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, text);
    EXPECT_EQ(ui.messages[0].title, title);
    EXPECT_EQ(ui.messages[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(ui.messages[0].owner, window->handle());
    EXPECT_EQ(BoxText(), "先前的文本");
    EXPECT_EQ(BoxTag(), "先前.png");
    EXPECT_EQ(Rows(), rowsBefore);
  }

  std::string before_, after_;
};

TEST_F(EncodeCommandTest, ALocalFileFillsTheBoxAndAddsARowOnTop) {
  const std::string bytes = RandomBytes(3001, 1);
  WriteFixtureFile(programFolder / "图片.png", bytes);
  int rows = Rows();
  Encode(programFolder / "图片.png");
  ExpectEncoded(bytes, "图片.png", rows);
  EXPECT_TRUE(std::regex_match(TopRow().time, std::regex(R"(\d{4}\.\d{1,2}\.\d{1,2} \d\d:\d\d:\d\d)"))) << TopRow().time;
}

TEST_F(EncodeCommandTest, AnEmptyFileGivesAnEmptyTextAndARowWithAnEmptyText) {
  WriteFixtureFile(programFolder / "empty.bin", "");
  int rows = Rows();
  Encode(programFolder / "empty.bin");
  ExpectEncoded("", "empty.bin", rows);
}

TEST_F(EncodeCommandTest, RowsStackNewestFirstAndTheSameFileTwiceGivesTwoRows) {
  WriteFixtureFile(programFolder / "a.txt", "foobar");
  WriteFixtureFile(programFolder / "b.txt", "fo");
  int rows = Rows();
  Encode(programFolder / "a.txt");
  Encode(programFolder / "b.txt");
  Encode(programFolder / "b.txt");
  ASSERT_EQ(Rows(), rows + 3);
  HWND list = control(ControlId::历史记录);
  EXPECT_EQ(CellText(list, 0, 1), "b.txt");
  EXPECT_EQ(CellText(list, 0, 2), "Zm8=");
  EXPECT_EQ(CellText(list, 1, 1), "b.txt");
  EXPECT_EQ(CellText(list, 2, 1), "a.txt");
  EXPECT_EQ(CellText(list, 2, 2), "Zm9vYmFy");
  EXPECT_EQ(BoxText(), "Zm8=");
}

TEST_F(EncodeCommandTest, ALinkIsFetchedAndNamedAfterItsLastElementQueryIncluded) {
  const std::string bytes = RandomBytes(2000, 2);
  const std::string name = UniqueServedName("link") + ".png";
  std::string address = ServeFile(name, bytes) + "?v=2";
  int rows = Rows();
  Encode(address);
  ExpectEncoded(bytes, name + "?v=2", rows);
}

TEST_F(EncodeCommandTest, WhatCannotBeReadIsReportedAndChangesNothing) {
  WriteFixtureFile(programFolder / "held.bin", "held open for writing");
  WriteFixtureFile(programFolder / "one.bin", "x");
  ::CreateDirectoryA((programFolder / "文件夹").c_str(), nullptr);
  const std::string served = UniqueServedName("served");
  ServeFile(served, std::string(4000, 'x'));
  const std::string refused = RefusedAddress("/" + served);
  const struct {
    std::string address;
    std::string text;
    std::string title;
  } cases[] = {
      {programFolder / "不存在.png", "文件不存在！无法读入数据！", "文件不存在"},
      {"", "文件不存在！无法读入数据！", "文件不存在"},
      {"127.0.0.1/" + served, "文件不存在！无法读入数据！", "文件不存在"},  // no scheme: a local path
      {programFolder / "文件夹", "无法读取文件：" + (programFolder / "文件夹"), "读取失败"},
      {programFolder / "*.bin", "无法读取文件：" + (programFolder / "*.bin"), "读取失败"},
      {programFolder / "held.bin", "无法读取文件：" + (programFolder / "held.bin"), "读取失败"},
      {WebServerAddress("/status/404/" + served), "下载失败：" + WebServerAddress("/status/404/" + served) + " (HTTP 404)",
       "下载失败"},
      {WebServerAddress("/cut/100/" + served), "下载失败：" + WebServerAddress("/cut/100/" + served), "下载失败"},
      {refused, "下载失败：" + refused, "下载失败"},
      {"ftp://127.0.0.1/" + served, "下载失败：ftp://127.0.0.1/" + served, "下载失败"},
  };
  // Another program writing the file keeps readers that refuse writers out.
  unique_hfile writer(::CreateFileA((programFolder / "held.bin").c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(writer);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    ui.messages.clear();
    int rows = Rows();
    Encode(c.address);
    ExpectRefused(c.text, c.title, rows);
  }
}

TEST_F(EncodeCommandTest, TheWaitCursorShowsWhileTheCommandRuns) {
  HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
  ::SetCursor(arrow);
  Encode(programFolder / "不存在.png");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].cursor, ::LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_EQ(::GetCursor(), arrow);
}

TEST_F(EncodeCommandTest, ChooseFileAsksForAnExistingFileAndPutsItsPathIntoTheAddress) {
  SetControlText(control(ControlId::地址), "typed");
  ui.openAnswers = {"", "D:\\图片\\cat.png"};
  Click(ControlId::打开);
  EXPECT_EQ(GetControlText(control(ControlId::地址)), "typed");
  Click(ControlId::打开);
  EXPECT_EQ(GetControlText(control(ControlId::地址)), "D:\\图片\\cat.png");

  ASSERT_EQ(ui.openRequests.size(), 2u);
  const OpenFileRequest& asked = ui.openRequests[0];
  EXPECT_TRUE(asked.preview);
  EXPECT_EQ(asked.title, "请选择要编码的文件");
  EXPECT_EQ(asked.defaultName, "");
  EXPECT_EQ(asked.filter, "所有文件|*.*|jpg图片|*.jpg|png图片|*.png");
  EXPECT_EQ(asked.initialFolder, programFolder.path());
  EXPECT_EQ(asked.defaultExtension, ".jpg");
  EXPECT_EQ(DialogFlags(asked), 0x83800u);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(Rows(), 1);  // choosing does not encode
}

// The rule is PathFindFileNameA's; the platform's own answer must agree with ours.
TEST(FileNameFromAddress, AgreesWithPathFindFileNameA) {
  const char* addresses[] = {
      "D:\\图片\\cat.png", "http://example.com/files/cat.png?v=2", "http://example.com/files/", "http://example.com",
      "http://example.com/", "http://example.com:8080", "cat.png", "C:", "D:\\图片\\乗誠.png", "D:\\文件\\乗",
      "http://example.com/乗/", "a//b", "a:/b",
      // 0x80 (the euro sign) leads no pair, so the backslash after it separates.
      "C:\\\x80\\cat.png", "C:\\a\\\x80",
  };
  for (const char* address : addresses) {
    EXPECT_EQ(FileNameFromAddress(address), ::PathFindFileNameA(address)) << address;
  }
}

}  // namespace
