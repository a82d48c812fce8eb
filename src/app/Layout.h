#pragma once
// The main window's design: its settings, its controls and the history list's columns,
// each in one table that a test can hold against the window.
#include <windows.h>
#include <commctrl.h>

enum class ControlId : int {
  Window = 0,  // parent of the top-level controls: MainWindow itself
  分组框1 = 100,
  地址,
  打开,
  开始,
  分组框2,
  编码文本,
  复制2,
  解码,
  复制,
  按钮1,
  历史记录比起爱你,
  历史记录,
};

enum class MenuId : int {
  删除当前记录 = 200,
  删除更早记录,
};

struct ControlDesign {
  ControlId id;
  const char* name;
  const char* className;
  DWORD style;  // ControlBaseStyle is added for every control
  DWORD exStyle;
  ControlId parent;
  int left, top, width, height;
  const char* text;
};

inline constexpr int MainWindowWidth = 749;
inline constexpr int MainWindowHeight = 378;
// Sizable frame, title bar, system menu and minimise box; no maximise box.
inline constexpr DWORD MainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;
inline constexpr DWORD MainWindowExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
inline constexpr char MainWindowClass[] = "QuendralMainWindow";
inline constexpr char RichEditClass[] = "RichEdit20A";

// Siblings clip each other, so that the button placed over the label stays visible.
inline constexpr DWORD ControlBaseStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
inline constexpr DWORD PushButtonStyle = WS_TABSTOP | BS_PUSHBUTTON;
inline constexpr DWORD GroupBoxStyle = BS_GROUPBOX;

// Group boxes hold their controls (places are relative to the group box) and pass their
// controls' notifications on to the window.
inline constexpr ControlDesign MainWindowControls[] = {
    {ControlId::分组框1, "分组框1", "BUTTON", GroupBoxStyle, WS_EX_CONTROLPARENT, ControlId::Window, 8, 8, 360, 72,
     "文件地址或文件直链(可拖拽选择）"},
    {ControlId::地址, "地址", "EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, ControlId::分组框1, 8, 18, 344, 20,
     ""},
    {ControlId::打开, "打开", "BUTTON", PushButtonStyle, 0, ControlId::分组框1, 27, 40, 134, 25, "选择文件"},
    {ControlId::开始, "开始", "BUTTON", PushButtonStyle, 0, ControlId::分组框1, 193, 40, 134, 25, "开始编码"},
    {ControlId::分组框2, "分组框2", "BUTTON", GroupBoxStyle, WS_EX_CONTROLPARENT, ControlId::Window, 8, 86, 360, 256,
     "编码文本"},
    {ControlId::编码文本, "编码文本", RichEditClass, WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
     WS_EX_CLIENTEDGE, ControlId::分组框2, 8, 17, 344, 205, ""},
    {ControlId::复制2, "复制2", "BUTTON", PushButtonStyle, 0, ControlId::分组框2, 16, 224, 100, 25, "清空输入框"},
    {ControlId::解码, "解码", "BUTTON", PushButtonStyle, 0, ControlId::分组框2, 130, 224, 100, 25, "base64解码"},
    {ControlId::复制, "复制", "BUTTON", PushButtonStyle, 0, ControlId::分组框2, 245, 224, 100, 25, "复制base64编码"},
    // The label spans the top of the list; its text is centred so that the button beside it
    // at the left does not cover it.
    {ControlId::历史记录比起爱你, "历史记录比起爱你", "STATIC", SS_CENTER | SS_CENTERIMAGE, 0, ControlId::Window, 377, 8,
     351, 24, "历史记录"},
    {ControlId::按钮1, "按钮1", "BUTTON", PushButtonStyle, 0, ControlId::Window, 392, 8, 88, 24, "官网"},
    // Report view, single selection, hidden while unfocused (no LVS_SHOWSELALWAYS), labels not
    // editable, clickable header that sorts nothing.
    {ControlId::历史记录, "历史记录", WC_LISTVIEWA, WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL, WS_EX_CLIENTEDGE,
     ControlId::Window, 377, 37, 351, 302, ""},
};

// Full-row selection and grid lines; no check boxes, hot tracking or header drag and drop.
inline constexpr DWORD HistoryListExStyle = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;

struct ColumnDesign {
  const char* header;
  int width;
  int format;
};

inline constexpr ColumnDesign HistoryColumns[] = {
    {"添加时间", 130, LVCFMT_LEFT},
    {"文件名", 80, LVCFMT_CENTER},
    {"base64编码", 120, LVCFMT_CENTER},
};

// The row the list is designed with; the history load at start removes it.
inline constexpr char PlaceholderRowTime[] = "2021.11.12 12:10:12";

struct MenuItemDesign {
  MenuId id;
  const char* text;
};

inline constexpr char HistoryMenuTitle[] = "历史记录菜单";
inline constexpr MenuItemDesign HistoryMenuItems[] = {
    {MenuId::删除当前记录, "删除当前记录"},
    {MenuId::删除更早记录, "删除更早记录"},
};
