#include <windows.h>
#include <commctrl.h>

#include <random>

#include "HistoryListSupport.h"
#include "WinTestSupport.h"
#include "TestData.h"
#include "app/AppInfo.h"
#include "history/HistoryFile_win.h"
#include "history/HistoryRecords.h"
#include "history/ListViewAccess_win.h"
#include "platform/Handles.h"
#include "platform/Text_win.h"

namespace {

std::string Base64Like(size_t length, unsigned seed) {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::mt19937 random(seed);
  std::string text(length, 'A');
  for (char& c : text) c = alphabet[random() % 64];
  return text;
}

class HistoryFileTest : public MainWindowTest {
 protected:
  HWND list() const { return control(ControlId::历史记录); }
  std::string historyPath() const { return programFolder / HistoryFileName; }
  void ClearList() { ListView_DeleteAllItems(list()); }
};

}  // namespace

TEST_F(HistoryFileTest, TheWorkedExampleIsSavedByteForByteAndLoadsBackIntoTheListThatHeldThePlaceholder) {
  ClearList();
  InsertRowAtTop(list(), {"2021.11.12 12:10:12", "a.png", "QUJD"});
  ASSERT_TRUE(SaveHistoryFile(list(), historyPath()));
  EXPECT_EQ(ReadFixtureFile(historyPath()), WorkedExampleHistory);

  std::unique_ptr<MainWindow> restarted = MainWindow::Create(ui, {programFolder.path(), false});
  ASSERT_TRUE(restarted);
  HWND restartedList = restarted->Control(ControlId::历史记录);
  ASSERT_EQ(ListView_GetItemCount(restartedList), 1) << "the placeholder row";
  LoadHistoryFile(restartedList, historyPath());
  EXPECT_EQ(ListRows(restartedList), (std::vector<CellTexts>{{"2021.11.12 12:10:12", "a.png", "QUJD"}}));
  EXPECT_LT(ItemImage(restartedList, 0, 0), 0);
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.lParam = 77;
  ::SendMessageA(restartedList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.lParam, 0);
  EXPECT_TRUE(::GetWindowLongA(restartedList, GWL_STYLE) & WS_VISIBLE) << "redrawing is on again";
}

TEST_F(HistoryFileTest, RowsKeepTheirOrderAndTextsOfAnyLengthAreSavedWhole) {
  ClearList();
  // Lengths about the sizes a read buffer takes, a two-byte character across such a size, and
  // the Base64 text of a file of almost 4 MB.
  const std::string 图 = "图";
  const std::vector<CellTexts> rows = {
      {"2021.11.12 12:10:12", "大文件.bin", Base64Like(5 << 20, 1)},
      {"2021.11.12 12:10:11", "a" + 图 + ".png", Base64Like(259, 2)},
      {"2021.11.12 12:10:10", "b.png", Base64Like(260, 3)},
      {"2021.11.12 12:10:09", std::string(509, 'n') + 图, Base64Like(511, 4)},
      {"2021.11.12 12:10:08", std::string(510, 'n') + 图, Base64Like(512, 5)},
      {"2021.11.12 12:10:07", std::string(511, 'n') + 图, Base64Like(513, 6)},
      {"2021.11.12 12:10:06", std::string(1022, 'n') + 图 + 图, Base64Like(1024, 7)},
      {"2021.11.12 12:10:05", "", ""},
      {"", "空.txt", "QQ=="},
  };
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) InsertRowAtTop(list(), *row);
  ASSERT_EQ(ListRows(list()), rows);

  ASSERT_TRUE(SaveHistoryFile(list(), historyPath()));
  EXPECT_EQ(ReadFixtureFile(historyPath()), HistoryFileBytes(rows)) << "newest row first, every text whole";

  InsertRowAtTop(list(), {"old", "rows", "go"});
  LoadHistoryFile(list(), historyPath());
  EXPECT_EQ(ListRows(list()), rows);
}

TEST_F(HistoryFileTest, AnEmptyListSavesAZeroByteFileAndAZeroByteOrAbsentFileLoadsAsAnEmptyList) {
  ClearList();
  WriteFixtureFile(historyPath(), WorkedExampleHistory);
  ASSERT_TRUE(SaveHistoryFile(list(), historyPath()));
  EXPECT_TRUE(FixtureExists(historyPath()));
  EXPECT_EQ(ReadFixtureFile(historyPath()), "");

  InsertRowAtTop(list(), {"2021.11.12 12:10:12", "a.png", "QUJD"});
  LoadHistoryFile(list(), historyPath());
  EXPECT_EQ(ListView_GetItemCount(list()), 0);

  InsertRowAtTop(list(), {"2021.11.12 12:10:12", "a.png", "QUJD"});
  LoadHistoryFile(list(), programFolder / "no such file.ebb");
  EXPECT_EQ(ListView_GetItemCount(list()), 0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HistoryFileTest, DamagedAndForeignFilesLoadAsFarAsTheListCanShowThem) {
  auto row = [](std::string text) {
    std::string bytes;
    AppendRowRecord(bytes, -1, -1, 0, 0, text);
    return bytes;
  };
  auto cell = [](std::string text, char kind = 0x01, int32_t image = -1) {
    std::string bytes;
    AppendCellRecord(bytes, image, text);
    bytes[0] = kind;
    return bytes;
  };
  std::string withImageFive;
  AppendRowRecord(withImageFive, 5, 5, 0, 0, "t");
  withImageFive += cell("a", 0x01, 5);
  std::string cutText = row("t") + cell("a") + cell("QUJD");
  cutText.resize(cutText.size() - 2);

  struct Case {
    const char* what;
    std::string bytes;
    std::vector<CellTexts> rows;
  } cases[] = {
      {"only row records", row("t1") + row("t2"), {{"t1", "", ""}, {"t2", "", ""}}},
      {"a third cell record in a three-column list has no effect",
       row("t") + cell("a") + cell("b") + cell("c") + row("u") + cell("d"), {{"t", "a", "b"}, {"u", "d", ""}}},
      {"cell records before the first row record have no effect", cell("x") + cell("y") + row("t") + cell("a"),
       {{"t", "a", ""}}},
      {"kind 0x02 is a cell record", row("t") + cell("a", 0x02) + cell("b", 0x02), {{"t", "a", "b"}}},
      {"image index 5 in a list without images", withImageFive, {{"t", "a", ""}}},
      {"a text without its zero byte at the end is dropped", cutText, {{"t", "a", ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    InsertRowAtTop(list(), {"left", "over", "row"});
    SetItemsData(list(), c.bytes);
    EXPECT_EQ(ListRows(list()), c.rows);
    for (int r = 0; r < ListView_GetItemCount(list()); ++r) {
      EXPECT_LT(ItemImage(list(), r, 0), 0) << "row " << r << " has no image";
    }
    // What loaded saves back in the writer's own form.
    EXPECT_EQ(GetItemsData(list()), HistoryFileBytes(c.rows));
  }
}

TEST_F(HistoryFileTest, ImagesAreKeptOnlyWhenTheListCanShowThem) {
  // A list of the same kind that has images, unlike the history list.
  HWND other = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 200, 100, window->handle(),
                                 nullptr, nullptr, nullptr);
  ASSERT_TRUE(other);
  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH;
  column.cx = 50;
  ListView_InsertColumn(other, 0, &column);
  ListView_InsertColumn(other, 1, &column);
  HIMAGELIST small = ImageList_Create(16, 16, ILC_COLOR32, 3, 0);
  HIMAGELIST state = ImageList_Create(16, 16, ILC_COLOR32, 2, 0);
  HBITMAP bitmap = ::CreateBitmap(16 * 3, 16, 1, 32, nullptr);
  ImageList_Add(small, bitmap, nullptr);
  ImageList_Add(state, bitmap, nullptr);
  ::DeleteObject(bitmap);
  ASSERT_EQ(ImageList_GetImageCount(small), 3);
  ListView_SetImageList(other, small, LVSIL_SMALL);
  ListView_SetImageList(other, state, LVSIL_STATE);
  ListView_SetExtendedListViewStyle(other, LVS_EX_SUBITEMIMAGES);

  std::string bytes;
  AppendRowRecord(bytes, 2, 1, 0, 0, "kept");
  AppendCellRecord(bytes, 1, "cell kept");
  AppendRowRecord(bytes, 3, 3, 0, 0, "beyond");
  AppendCellRecord(bytes, 7, "cell beyond");
  SetItemsData(other, bytes);

  EXPECT_EQ(ItemImage(other, 0, 0), 2);
  EXPECT_EQ(ItemImage(other, 0, 1), 1);
  EXPECT_EQ(ListView_GetItemState(other, 0, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
  EXPECT_LT(ItemImage(other, 1, 0), 0);
  EXPECT_LT(ItemImage(other, 1, 1), 0);
  EXPECT_EQ(ListView_GetItemState(other, 1, LVIS_STATEIMAGEMASK), 0u);

  std::string saved;
  AppendRowRecord(saved, 2, -1, 0, 0, "kept");
  AppendCellRecord(saved, 1, "cell kept");
  AppendRowRecord(saved, -1, -1, 0, 0, "beyond");
  AppendCellRecord(saved, -1, "cell beyond");
  EXPECT_EQ(GetItemsData(other), saved);
  ::DestroyWindow(other);
}

TEST_F(HistoryFileTest, AWindowThatIsNotAListSavesNothingAndTheOldFileStays) {
  WriteFixtureFile(historyPath(), WorkedExampleHistory);
  EXPECT_FALSE(SaveHistoryFile(control(ControlId::编码文本), historyPath()));
  EXPECT_FALSE(SaveHistoryFile(nullptr, historyPath()));
  EXPECT_EQ(ReadFixtureFile(historyPath()), WorkedExampleHistory);
}

TEST_F(HistoryFileTest, StartUpLoadsTheFileBesideTheProgramAndClosingTheWindowSavesTheListThere) {
  WriteFixtureFile(historyPath(), WorkedExampleHistory);
  window->OnMainWindowCreated();
  EXPECT_EQ(ListRows(list()), (std::vector<CellTexts>{{"2021.11.12 12:10:12", "a.png", "QUJD"}}));

  InsertRowAtTop(list(), {"2021.11.13 08:00:00", "b.txt", "Yg=="});
  ::DestroyWindow(window->handle());
  EXPECT_EQ(ReadFixtureFile(historyPath()),
            HistoryFileBytes({{"2021.11.13 08:00:00", "b.txt", "Yg=="}, {"2021.11.12 12:10:12", "a.png", "QUJD"}}));

  std::unique_ptr<MainWindow> restarted = MainWindow::Create(ui, {programFolder.path(), false});
  ASSERT_TRUE(restarted);
  restarted->OnMainWindowCreated();
  EXPECT_EQ(ListRows(restarted->Control(ControlId::历史记录)),
            (std::vector<CellTexts>{{"2021.11.13 08:00:00", "b.txt", "Yg=="}, {"2021.11.12 12:10:12", "a.png", "QUJD"}}));
}

TEST_F(HistoryFileTest, WithNoFileTheStartUpListIsEmpty) {
  window->OnMainWindowCreated();
  EXPECT_EQ(ListView_GetItemCount(list()), 0) << "the placeholder row is gone";
  EXPECT_FALSE(FixtureExists(historyPath())) << "nothing is written before the window closes";
}

TEST_F(HistoryFileTest, ListAccessAttachesOnlyToAListAndReadsWholeCellsFromAnyFirstBufferSize) {
  ListViewAccess unattached;
  EXPECT_FALSE(unattached.Attach(control(ControlId::编码文本)));
  EXPECT_FALSE(unattached.Attach(list(), "syslistview32"));
  EXPECT_EQ(unattached.GetItemCount(), 0);
  EXPECT_EQ(unattached.GetColumnCount(), 0);
  EXPECT_EQ(unattached.GetItemText(0, 0), "");

  ClearList();
  const std::string long图 = std::string(3000, 'x') + "图";
  InsertRowAtTop(list(), {"2021.1.5 21:03:07", long图, "QUJD"});
  InsertRowAtTop(list(), {"2021.1.5 21:03:08", "b", ""});
  ListViewAccess access;
  ASSERT_TRUE(access.Attach(list()));
  EXPECT_EQ(access.GetColumnCount(), 3);
  EXPECT_EQ(access.GetItemCount(), 2);
  for (size_t firstSize : {1u, 16u, 260u, 3001u, 3002u, 3003u, 8192u}) {
    SCOPED_TRACE(firstSize);
    EXPECT_EQ(access.GetItemText(1, 1, firstSize), long图);
    EXPECT_EQ(access.GetItemText(0, 0, firstSize), "2021.1.5 21:03:08");
  }
  EXPECT_EQ(access.GetItemText(0, 2), "");
  EXPECT_EQ(access.GetItemText(2, 0), "") << "no such row";
  EXPECT_EQ(access.GetItemText(-1, 0), "");
  EXPECT_EQ(access.GetItemText(0, 3), "") << "no such column";
  EXPECT_EQ(access.GetItemData(1), 0);
}

// 编码文本 takes texts of up to 2^31 characters, the Base64 of a 1.5 GB file; a row holding
// such a text must be read whole, or the history saved at close holds a cut, useless text.
TEST_F(HistoryFileTest, ACellBeyondAQuarterOfAGigacharacterIsReadWhole) {
  ClearList();
  InsertRowAtTop(list(), {"2021.1.5 21:03:07", "big.bin", ""});
  std::wstring big((size_t{1} << 28) + 16, L'Q');
  big.back() = L'=';
  LVITEMW cell{};
  cell.iSubItem = 2;
  cell.pszText = big.data();
  ASSERT_TRUE(::SendMessageW(list(), LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&cell)));
  ListViewAccess access;
  ASSERT_TRUE(access.Attach(list()));
  const std::string text = access.GetItemText(0, 2, big.size() + 1);
  EXPECT_EQ(text.size(), big.size());
  EXPECT_EQ(text.back(), '=');
}

TEST_F(HistoryFileTest, AHistoryFileThatCannotBeReadAtStartIsNotReplacedWhenTheWindowCloses) {
  EXPECT_TRUE(LoadHistoryFile(list(), programFolder / "absent.ebb"));
  WriteFixtureFile(programFolder / "empty.ebb", "");
  EXPECT_TRUE(LoadHistoryFile(list(), programFolder / "empty.ebb"));

  WriteFixtureFile(historyPath(), WorkedExampleHistory);
  {
    // Another program holds the file, unshared, for longer than the load waits.
    unique_hfile held(::CreateFileW(ToWide(historyPath()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(LoadHistoryFile(list(), historyPath()));
    window->OnMainWindowCreated();
  }
  EXPECT_EQ(ListView_GetItemCount(list()), 0);
  InsertRowAtTop(list(), {"2021.11.13 08:00:00", "b.txt", "Yg=="});
  ::DestroyWindow(window->handle());
  EXPECT_EQ(ReadFixtureFile(historyPath()), WorkedExampleHistory) << "the history in the file is kept";

  std::unique_ptr<MainWindow> restarted = MainWindow::Create(ui, {programFolder.path(), false});
  ASSERT_TRUE(restarted);
  EXPECT_TRUE(LoadHistoryFile(restarted->Control(ControlId::历史记录), historyPath())) << "free again";
  EXPECT_EQ(ListView_GetItemCount(restarted->Control(ControlId::历史记录)), 1);
}
