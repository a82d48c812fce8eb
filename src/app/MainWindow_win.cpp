#include "app/MainWindow_win.h"

#include <commctrl.h>
#include <richedit.h>

#include "app/AppInfo.h"
#include "decode/DecodeAndSave_win.h"
#include "encode/EncodeCommand_win.h"
#include "history/HistoryCommands_win.h"
#include "history/HistoryFile_win.h"
#include "platform/Clipboard_win.h"
#include "platform/Font_win.h"
#include "platform/Interaction.h"
#include "platform/Messages_win.h"
#include "platform/Text_win.h"

namespace {

// A group box is the parent of its controls, but the button class drops their notifications;
// pass them on to the window that owns the group box.
LRESULT CALLBACK ForwardNotifications(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
      return ::SendMessageA(::GetParent(box), message, wParam, lParam);
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(box, ForwardNotifications, 0);
      break;
  }
  return ::DefSubclassProc(box, message, wParam, lParam);
}

bool RegisterMainWindowClass(WNDPROC procedure) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  // The program's icon is resource 1; test programs that build the window have none.
  windowClass.hIcon = ::LoadIconA(windowClass.hInstance, MAKEINTRESOURCEA(1));
  if (!windowClass.hIcon) windowClass.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hIconSm = static_cast<HICON>(::LoadImageA(windowClass.hInstance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                        ::GetSystemMetrics(SM_CXSMICON),
                                                        ::GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = MainWindowClass;
  return ::RegisterClassExA(&windowClass) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

std::string HistoryPath(const std::string& programDirectory) { return programDirectory + "\\" + HistoryFileName; }

POINT CentredOnScreen(int width, int height) {
  RECT work{};
  if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
    work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  return {work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2};
}

}  // namespace

std::unique_ptr<MainWindow> MainWindow::Create(Interaction& ui, MainWindowOptions options) {
  static const bool libraries = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    return ::LoadLibraryA("riched20.dll") != nullptr;
  }();
  if (!libraries || !RegisterMainWindowClass(WindowProc)) return nullptr;

  std::unique_ptr<MainWindow> window(new MainWindow(ui, std::move(options)));
  POINT place = CentredOnScreen(MainWindowWidth, MainWindowHeight);
  ::CreateWindowExA(MainWindowExStyle, MainWindowClass, DesignCaption, MainWindowStyle, place.x, place.y,
                    MainWindowWidth, MainWindowHeight, nullptr, nullptr, ::GetModuleHandleA(nullptr), window.get());
  if (!window->window_) return nullptr;
  if (!window->CreateControls()) return nullptr;
  MakeKeyboardWindow(window->window_);
  return window;
}

MainWindow::MainWindow(Interaction& ui, MainWindowOptions options)
    : 拖放对象1([this](const std::string& text) { OnFilesDropped(text); }), ui_(ui), options_(std::move(options)) {}

MainWindow::~MainWindow() {
  if (window_) ::DestroyWindow(window_);
}

bool MainWindow::CreateControls() {
  font_ = CreateMessageFont();
  for (const ControlDesign& design : MainWindowControls) {
    HWND parent = Control(design.parent);
    HWND control = ::CreateWindowExA(design.exStyle, design.className, design.text, ControlBaseStyle | design.style,
                                     design.left, design.top, design.width, design.height, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)),
                                     ::GetModuleHandleA(nullptr), nullptr);
    if (!control) return false;
    if (font_) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    if (design.style == GroupBoxStyle) ::SetWindowSubclass(control, ForwardNotifications, 0, 0);
  }
  // The button sits on the label's row; keep it above the label so that it takes the clicks.
  ::SetWindowPos(Control(ControlId::按钮1), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  HWND text = Control(ControlId::编码文本);
  ::SendMessageA(text, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
  // Rich edit boxes stop at 32 K characters unless told otherwise.
  ::SendMessageA(text, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  ConfigureHistoryList();
  return true;
}

void MainWindow::ConfigureHistoryList() {
  HWND list = Control(ControlId::历史记录);
  ListView_SetExtendedListViewStyle(list, HistoryListExStyle);
  ListView_SetTextColor(list, RGB(0, 0, 0));
  ListView_SetTextBkColor(list, RGB(255, 255, 255));
  ListView_SetBkColor(list, RGB(255, 255, 255));
  int index = 0;
  for (const ColumnDesign& design : HistoryColumns) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = design.format;
    column.cx = design.width;
    column.pszText = const_cast<char*>(design.header);
    column.iSubItem = index;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, index++, reinterpret_cast<LPARAM>(&column));
  }
  LVITEMA placeholder{};
  placeholder.mask = LVIF_TEXT;
  placeholder.pszText = const_cast<char*>(PlaceholderRowTime);
  ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&placeholder));
}

HWND MainWindow::Control(ControlId id) const {
  if (id == ControlId::Window) return window_;
  for (const ControlDesign& design : MainWindowControls) {
    if (design.id != id) continue;
    HWND parent = Control(design.parent);
    return parent ? ::GetDlgItem(parent, static_cast<int>(id)) : nullptr;
  }
  return nullptr;
}

CommandContext MainWindow::Context() const {
  return {window_, Control(ControlId::地址), Control(ControlId::编码文本), Control(ControlId::历史记录),
          options_.programDirectory, &ui_};
}

void MainWindow::OnMainWindowCreated() {
  SetControlText(window_, std::string(CaptionPrefix) + ProgramVersion + CaptionSuffix);
  // The update check comes before the history: it may end the program before anything is read.
  if (options_.checkForUpdate) CheckForUpdate(Context(), options_.update);
  historyReadable_ = LoadHistoryFile(Control(ControlId::历史记录), HistoryPath(options_.programDirectory));
  拖放对象1.Bind(Control(ControlId::地址));
}

void MainWindow::OnMainWindowDestroying() {
  // A history file that could not be read at start stays as it is, rather than being replaced
  // by the rows of this run alone.
  if (historyReadable_) SaveHistoryFile(Control(ControlId::历史记录), HistoryPath(options_.programDirectory));
}

void MainWindow::OpenMakerSite() { ui_.OpenWebPage(MakerSiteUrl); }

void MainWindow::ClearText() { SetControlText(Control(ControlId::编码文本), ""); }

void MainWindow::CopyText() { PutTextOnClipboard(GetControlText(Control(ControlId::编码文本))); }

void MainWindow::OnFilesDropped(const std::string& droppedFilesText) {
  SetControlText(Control(ControlId::地址), droppedFilesText);
}

void MainWindow::ShowHistoryMenu() {
  unique_hmenu menu = BuildHistoryMenu();
  POINT cursor{};
  ::GetCursorPos(&cursor);
  // Without TPM_RETURNCMD the chosen item arrives as WM_COMMAND, like any other command.
  ::TrackPopupMenu(::GetSubMenu(menu.get(), 0), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RIGHTBUTTON, cursor.x + 3,
                   cursor.y + 3, 0, window_, nullptr);
}

unique_hmenu BuildHistoryMenu() {
  unique_hmenu menu(::CreateMenu());
  HMENU items = ::CreatePopupMenu();
  for (const MenuItemDesign& item : HistoryMenuItems) {
    ::AppendMenuA(items, MF_STRING | MF_ENABLED, static_cast<UINT_PTR>(item.id), item.text);
  }
  // The root menu owns its popup and destroys it with itself.
  ::AppendMenuA(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(items), HistoryMenuTitle);
  return menu;
}

void MainWindow::OnCommand(int id) {
  switch (id) {
    case static_cast<int>(ControlId::开始): EncodeFile(Context()); break;
    case static_cast<int>(ControlId::打开): ChooseFile(Context()); break;
    case static_cast<int>(ControlId::解码): DecodeAndSave(Context()); break;
    case static_cast<int>(ControlId::复制): CopyText(); break;
    case static_cast<int>(ControlId::复制2): ClearText(); break;
    case static_cast<int>(ControlId::按钮1): OpenMakerSite(); break;
    case static_cast<int>(MenuId::删除当前记录): DeleteCurrentRecord(Context()); break;
    case static_cast<int>(MenuId::删除更早记录): DeleteEarlierRecords(Context()); break;
  }
}

void MainWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom != static_cast<UINT_PTR>(ControlId::历史记录)) return;
  if (header.code == LVN_ITEMCHANGED) {
    // The current row is the focused and selected one. A right click focuses a row before it
    // selects it, in two changes; reading the row at the first would show no row at all.
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    constexpr UINT Current = LVIS_FOCUSED | LVIS_SELECTED;
    bool becameCurrent = (change.uNewState & Current) == Current && (change.uOldState & Current) != Current;
    if (becameCurrent) ShowHistoryRow(Context());
  } else if (header.code == NM_RCLICK) {
    ShowHistoryMenu();
  }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  return self ? self->HandleMessage(message, wParam, lParam) : ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Buttons report BN_CLICKED (0), menu items 0; accelerators are not used.
      if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
      return 0;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case WM_DESTROY:
      OnMainWindowDestroying();
      拖放对象1.Unbind();
      ReleaseControlTag(Control(ControlId::编码文本));
      ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      HWND window = std::exchange(window_, nullptr);
      ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      return ::DefWindowProcA(window, message, wParam, lParam);
    }
  }
  return ::DefWindowProcA(window_, message, wParam, lParam);
}
