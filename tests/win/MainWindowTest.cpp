#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "WinTestSupport.h"
#include "app/AppInfo.h"
#include "app/Layout.h"
#include "platform/Messages_win.h"
#include "platform/Text_win.h"

namespace {

std::string ClassOf(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

// A data object holding files (CF_HDROP) or, for the refusal case, only text.
class DataObject final : public IDataObject {
 public:
  static DataObject* Files(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) list += path + '\0';
    list += '\0';
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(DROPFILES) + list.size());
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    *drop = {};
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
    ::GlobalUnlock(memory);
    return new DataObject(CF_HDROP, memory);
  }
  static DataObject* Text(const std::string& text) {
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(::GlobalLock(memory), text.c_str(), text.size() + 1);
    ::GlobalUnlock(memory);
    return new DataObject(CF_TEXT, memory);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IDataObject) {
      *object = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = ::OleDuplicateData(memory_, format_, 0);
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format->cfFormat == format_ && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  DataObject(CLIPFORMAT format, HGLOBAL memory) : format_(format), memory_(memory) {}
  ~DataObject() { ::GlobalFree(memory_); }
  CLIPFORMAT format_;
  HGLOBAL memory_;
  ULONG references_ = 1;
};

// Drags the data over the drop target and lets it go, as OLE does for a real drop.
DWORD DropOn(IDropTarget& target, DataObject* data) {
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  target.DragEnter(data, MK_LBUTTON, {10, 10}, &effect);
  DWORD offered = effect;
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  target.DragOver(MK_LBUTTON, {12, 12}, &effect);
  EXPECT_EQ(effect, offered) << "the answer must not change while the mouse moves";
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  target.Drop(data, 0, {12, 12}, &effect);
  data->Release();
  return effect;
}

}  // namespace

TEST_F(MainWindowTest, EveryControlHasItsClassParentTextPlaceAndSize) {
  // The window's design written out again here, so that a slip in the program's own table shows.
  const struct {
    ControlId id;
    const char* className;
    ControlId parent;
    int left, top, width, height;
    const char* text;
  } expected[] = {
      {ControlId::分组框1, "Button", ControlId::Window, 8, 8, 360, 72, "文件地址或文件直链(可拖拽选择）"},
      {ControlId::地址, "Edit", ControlId::分组框1, 8, 18, 344, 20, ""},
      {ControlId::打开, "Button", ControlId::分组框1, 27, 40, 134, 25, "选择文件"},
      {ControlId::开始, "Button", ControlId::分组框1, 193, 40, 134, 25, "开始编码"},
      {ControlId::分组框2, "Button", ControlId::Window, 8, 86, 360, 256, "编码文本"},
      {ControlId::编码文本, "RichEdit20A", ControlId::分组框2, 8, 17, 344, 205, ""},
      {ControlId::复制2, "Button", ControlId::分组框2, 16, 224, 100, 25, "清空输入框"},
      {ControlId::解码, "Button", ControlId::分组框2, 130, 224, 100, 25, "base64解码"},
      {ControlId::复制, "Button", ControlId::分组框2, 245, 224, 100, 25, "复制base64编码"},
      {ControlId::按钮1, "Button", ControlId::Window, 392, 8, 88, 24, "官网"},
      {ControlId::历史记录比起爱你, "Static", ControlId::Window, 377, 8, 351, 24, "历史记录"},
      {ControlId::历史记录, "SysListView32", ControlId::Window, 377, 37, 351, 302, nullptr},
  };
  for (const auto& design : expected) {
    SCOPED_TRACE(static_cast<int>(design.id));
    HWND handle = control(design.id);
    ASSERT_TRUE(handle);
    EXPECT_EQ(::GetParent(handle), control(design.parent));
    EXPECT_STRCASEEQ(ClassOf(handle).c_str(), design.className);
    if (design.text) {
      EXPECT_EQ(GetControlText(handle), design.text);
    }
    RECT place = PlaceInParent(handle);
    EXPECT_EQ(place.left, design.left);
    EXPECT_EQ(place.top, design.top);
    EXPECT_EQ(place.right - place.left, design.width);
    EXPECT_EQ(place.bottom - place.top, design.height);
    EXPECT_TRUE(::GetWindowLongA(handle, GWL_STYLE) & WS_VISIBLE);
  }
  EXPECT_EQ(std::size(MainWindowControls), std::size(expected))
      << "twelve windows; the drop target is the thirteenth control";

  for (ControlId button : {ControlId::打开, ControlId::开始, ControlId::复制2, ControlId::解码, ControlId::复制,
                           ControlId::按钮1}) {
    EXPECT_EQ(::GetWindowLongA(control(button), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  }
  for (ControlId box : {ControlId::分组框1, ControlId::分组框2}) {
    EXPECT_EQ(::GetWindowLongA(control(box), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
  }
  // 编码文本: editable, several lines; a long unbroken text wraps at the box's edge and brings
  // the vertical scroll bar (a rich edit shows it only when the text needs it).
  HWND box = control(ControlId::编码文本);
  LONG text = ::GetWindowLongA(box, GWL_STYLE);
  EXPECT_TRUE(text & ES_MULTILINE);
  EXPECT_FALSE(text & ES_READONLY);
  SetControlText(box, std::string(3000, 'Q'));
  EXPECT_GT(::SendMessageA(box, EM_GETLINECOUNT, 0, 0), 10);
  EXPECT_TRUE(::GetWindowLongA(box, GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(::GetWindowLongA(box, GWL_STYLE) & WS_HSCROLL);
  EXPECT_FALSE(::GetWindowLongA(control(ControlId::地址), GWL_STYLE) & (ES_MULTILINE | ES_READONLY));
}

TEST_F(MainWindowTest, WindowIsHiddenCentredWithItsFrameAndDesignCaption) {
  HWND main = window->handle();
  EXPECT_FALSE(::IsWindowVisible(main));
  EXPECT_EQ(GetControlText(main), DesignCaption);
  RECT rect{};
  ::GetWindowRect(main, &rect);
  EXPECT_EQ(rect.right - rect.left, 749);
  EXPECT_EQ(rect.bottom - rect.top, 378);
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((rect.left + rect.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((rect.top + rect.bottom) / 2, (work.top + work.bottom) / 2, 1);
  LONG style = ::GetWindowLongA(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_EQ(::GetWindow(main, GW_OWNER), nullptr);
  EXPECT_EQ(::GetMenu(main), nullptr);
}

TEST_F(MainWindowTest, ControlsUseTheMessageFont) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  for (const ControlDesign& design : MainWindowControls) {
    SCOPED_TRACE(design.name);
    if (design.id == ControlId::编码文本) {
      // A rich edit keeps the font as its default character format instead.
      CHARFORMATA format{};
      format.cbSize = sizeof format;
      ::SendMessageA(control(design.id), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
      EXPECT_STREQ(format.szFaceName, metrics.lfMessageFont.lfFaceName);
      continue;
    }
    auto font = reinterpret_cast<HFONT>(::SendMessageA(control(design.id), WM_GETFONT, 0, 0));
    ASSERT_TRUE(font);
    LOGFONTA used{};
    ::GetObjectA(font, sizeof used, &used);
    EXPECT_STREQ(used.lfFaceName, metrics.lfMessageFont.lfFaceName);
    EXPECT_EQ(used.lfHeight, metrics.lfMessageFont.lfHeight);
  }
}

TEST_F(MainWindowTest, HistoryListIsASingleSelectionReportWithThreeColumnsAndThePlaceholderRow) {
  HWND list = control(ControlId::历史记录);
  LONG style = ::GetWindowLongA(list, GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(style & LVS_SINGLESEL);
  EXPECT_FALSE(style & (LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_NOSORTHEADER | LVS_NOCOLUMNHEADER));
  EXPECT_FALSE(style & (LVS_SORTASCENDING | LVS_SORTDESCENDING));
  EXPECT_TRUE(::GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  DWORD extended = ListView_GetExtendedListViewStyle(list);
  EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(extended & LVS_EX_GRIDLINES);
  EXPECT_FALSE(extended & (LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE));
  EXPECT_EQ(ListView_GetTextColor(list), RGB(0, 0, 0));
  EXPECT_EQ(ListView_GetBkColor(list), RGB(255, 255, 255));
  EXPECT_EQ(ListView_GetImageList(list, LVSIL_SMALL), nullptr);
  EXPECT_EQ(ListView_GetImageList(list, LVSIL_NORMAL), nullptr);

  HWND header = ListView_GetHeader(list);
  ASSERT_EQ(Header_GetItemCount(header), 3);
  const struct {
    const char* text;
    int width;
    int format;
  } expected[] = {{"添加时间", 130, LVCFMT_LEFT}, {"文件名", 80, LVCFMT_CENTER}, {"base64编码", 120, LVCFMT_CENTER}};
  for (int i = 0; i < 3; ++i) {
    char text[64] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = text;
    column.cchTextMax = sizeof text;
    ASSERT_TRUE(::SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(text, expected[i].text);
    EXPECT_EQ(column.cx, expected[i].width);
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, expected[i].format);
  }

  ASSERT_EQ(ListView_GetItemCount(list), 1);
  char cell[64] = {};
  ListView_GetItemText(list, 0, 0, cell, sizeof cell);
  EXPECT_STREQ(cell, "2021.11.12 12:10:12");
  ListView_GetItemText(list, 0, 1, cell, sizeof cell);
  EXPECT_STREQ(cell, "");
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), -1);
}

TEST_F(MainWindowTest, HistoryMenuHoldsItsTwoEnabledItems) {
  unique_hmenu root = BuildHistoryMenu();
  ASSERT_EQ(::GetMenuItemCount(root.get()), 1);
  char title[64] = {};
  ::GetMenuStringA(root.get(), 0, title, sizeof title, MF_BYPOSITION);
  EXPECT_STREQ(title, "历史记录菜单");
  HMENU menu = ::GetSubMenu(root.get(), 0);
  ASSERT_TRUE(menu);
  ASSERT_EQ(::GetMenuItemCount(menu), 2);
  const char* texts[] = {"删除当前记录", "删除更早记录"};
  const MenuId ids[] = {MenuId::删除当前记录, MenuId::删除更早记录};
  for (int i = 0; i < 2; ++i) {
    char text[64] = {};
    ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, texts[i]);
    EXPECT_EQ(::GetMenuItemID(menu, i), static_cast<UINT>(ids[i]));
    UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
    EXPECT_FALSE(state & (MF_GRAYED | MF_DISABLED | MF_CHECKED));
  }
}

TEST_F(MainWindowTest, StartUpSetsTheCaptionAndBindsTheDropTargetToTheAddressBoxOnly) {
  window->OnMainWindowCreated();
  EXPECT_EQ(GetControlText(window->handle()), "Quendral 1.0.0 by:Vadrelunn");
  EXPECT_EQ(window->拖放对象1.boundWindow(), control(ControlId::地址));
  // The system holds our target for the address box, so a second registration there fails;
  // the other parts of the window have none.
  EXPECT_EQ(::RegisterDragDrop(control(ControlId::地址), &window->拖放对象1), DRAGDROP_E_ALREADYREGISTERED);
  EXPECT_EQ(window->拖放对象1.Bind(control(ControlId::编码文本)), DRAGDROP_E_ALREADYREGISTERED);
  for (ControlId other : {ControlId::编码文本, ControlId::历史记录, ControlId::Window}) {
    ASSERT_EQ(::RegisterDragDrop(control(other), &window->拖放对象1), S_OK);
    ::RevokeDragDrop(control(other));
  }
}

TEST_F(MainWindowTest, ClearTextEmptiesTheBoxAndLeavesItsTag) {
  SetControlText(control(ControlId::编码文本), "QUJD");
  SetControlTag(control(ControlId::编码文本), "cat.png");
  Click(ControlId::复制2);
  EXPECT_EQ(GetControlText(control(ControlId::编码文本)), "");
  EXPECT_EQ(GetControlTag(control(ControlId::编码文本)), "cat.png");
}

TEST_F(MainWindowTest, CopyTextPutsTheWholeBoxOnTheClipboardEvenWhenEmpty) {
  std::string text(3000, 'Q');
  text += "==";
  SetControlText(control(ControlId::编码文本), text);
  Click(ControlId::复制);
  EXPECT_EQ(ClipboardText(), text);

  SetControlText(control(ControlId::编码文本), "");
  Click(ControlId::复制);
  EXPECT_EQ(ClipboardText(), "");
}

TEST_F(MainWindowTest, MakerSiteButtonOpensTheMakersPage) {
  Click(ControlId::按钮1);
  ASSERT_EQ(ui.webPages.size(), 1u);
  EXPECT_EQ(ui.webPages[0], MakerSiteUrl);
  EXPECT_EQ(std::string(MakerSiteUrl).rfind("https://", 0), 0u);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowTest, DroppedFilesFillTheAddressBoxAndOtherDataIsRefused) {
  window->OnMainWindowCreated();
  HWND address = control(ControlId::地址);
  IDropTarget& target = window->拖放对象1;

  EXPECT_EQ(DropOn(target, DataObject::Files({"C:\\图片\\cat.png"})), static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(GetControlText(address), "C:\\图片\\cat.png");

  DropOn(target, DataObject::Files({"C:\\a.png", "D:\\表\\b.txt"}));
  EXPECT_EQ(GetControlText(address), "C:\\a.png\r\nD:\\表\\b.txt\r\n");

  EXPECT_EQ(DropOn(target, DataObject::Text("https://example.com/x.png")), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(GetControlText(address), "C:\\a.png\r\nD:\\表\\b.txt\r\n");
  EXPECT_EQ(GetControlText(control(ControlId::编码文本)), "") << "a drop starts no encoding";
}

TEST_F(MainWindowTest, ResizingMovesNoControl) {
  ::SetWindowPos(window->handle(), nullptr, 0, 0, 900, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const ControlDesign& design : MainWindowControls) {
    SCOPED_TRACE(design.name);
    RECT place = PlaceInParent(control(design.id));
    EXPECT_EQ(place.left, design.left);
    EXPECT_EQ(place.top, design.top);
    EXPECT_EQ(place.right - place.left, design.width);
    EXPECT_EQ(place.bottom - place.top, design.height);
  }
}

TEST_F(MainWindowTest, EscapeAnywhereInTheWindowClosesItAsTheCloseBoxDoes) {
  HWND main = window->handle();
  MSG escape{control(ControlId::编码文本), WM_KEYDOWN, VK_ESCAPE, 0};
  DispatchQueuedMessage(escape);
  EXPECT_TRUE(::IsWindow(main)) << "the close request is posted, not run inside the key";
  PumpMessages();
  EXPECT_FALSE(::IsWindow(main));
  EXPECT_EQ(window->handle(), nullptr);
}
