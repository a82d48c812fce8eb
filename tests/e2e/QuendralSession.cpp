#include "QuendralSession.h"

#include <commctrl.h>
#include <dlgs.h>
#include <shellapi.h>

#include <vector>

namespace {

int folderCount = 0;


// Memory inside the program's process, for list-view messages whose structures must live there.
class RemoteMemory {
 public:
  RemoteMemory(DWORD processId, size_t size)
      : process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)),
        address_(process_ ? ::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE) : nullptr) {}
  ~RemoteMemory() {
    if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) ::CloseHandle(process_);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  char* address() const { return static_cast<char*>(address_); }
  void Write(size_t offset, const void* bytes, size_t size) const {
    ::WriteProcessMemory(process_, address() + offset, bytes, size, nullptr);
  }
  void Read(size_t offset, void* bytes, size_t size) const {
    ::ReadProcessMemory(process_, address() + offset, bytes, size, nullptr);
  }

 private:
  HANDLE process_;
  void* address_;
};

struct WindowSearch {
  DWORD processId;
  const char* className;
  const std::string* title;
  bool visibleOnly;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId) return TRUE;
  if (search.visibleOnly && !::IsWindowVisible(window)) return TRUE;
  if (search.className) {
    char name[128] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (std::string(name) != search.className) return TRUE;
  }
  if (search.title && WindowText(window) != *search.title) return TRUE;
  search.found = window;
  return FALSE;
}

HWND FindTopLevel(DWORD processId, const char* className, const std::string* title, bool visibleOnly) {
  WindowSearch search{processId, className, title, visibleOnly, nullptr};
  ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

ProgramFolder::ProgramFolder() {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::string base = std::string(temp) + "quendral-e2e-" + std::to_string(::GetCurrentProcessId()) + "-";
  do {
    path_ = base + std::to_string(++folderCount);
  } while (!::CreateDirectoryA(path_.c_str(), nullptr));
  ::CopyFileA(BesideThisProgram(QUENDRAL_E2E_PROGRAM).c_str(), programPath().c_str(), TRUE);
}

ProgramFolder::~ProgramFolder() {
  std::string from = path_ + '\0';
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  ::SHFileOperationA(&operation);
}

std::string ProgramFolder::programPath() const { return *this / QUENDRAL_E2E_PROGRAM; }

QuendralSession::~QuendralSession() {
  if (!processInformation_.hProcess) return;
  if (WaitForExit(0) == STILL_ACTIVE) {
    ::TerminateProcess(processInformation_.hProcess, 1);
    ::WaitForSingleObject(processInformation_.hProcess, 5000);
  }
  ::CloseHandle(processInformation_.hThread);
  ::CloseHandle(processInformation_.hProcess);
}

bool QuendralSession::Launch() {
  std::string program = folder_.programPath();
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  const std::string& directory = workingDirectory_.empty() ? folder_.path() : workingDirectory_;
  return ::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.c_str(), &startup, &processInformation_);
}

bool QuendralSession::WaitForMainWindow(DWORD timeoutMilliseconds) {
  return WaitUntil(timeoutMilliseconds, [&] {
    window_ = FindMainWindow(true);
    return window_ != nullptr;
  });
}

HWND QuendralSession::FindMainWindow(bool visibleOnly) const {
  return FindTopLevel(processId(), MainWindowClass, nullptr, visibleOnly);
}

bool QuendralSession::Start(DWORD timeoutMilliseconds) {
  return Launch() && WaitForMainWindow(timeoutMilliseconds);
}

HWND QuendralSession::Control(ControlId id) const {
  if (id == ControlId::Window) return window_;
  for (const ControlDesign& design : MainWindowControls) {
    if (design.id == id) return ::GetDlgItem(Control(design.parent), static_cast<int>(id));
  }
  return nullptr;
}

std::string WindowText(HWND window) {
  // WM_GETTEXT is carried across processes by the system, text and all.
  LRESULT length = ::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(::SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

std::string QuendralSession::Text(ControlId id) const { return WindowText(Control(id)); }

void QuendralSession::SetText(ControlId id, const std::string& text) const {
  ::SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void QuendralSession::Click(ControlId id) const { ::PostMessageA(Control(id), BM_CLICK, 0, 0); }

int QuendralSession::RowCount() const {
  return static_cast<int>(::SendMessageA(Control(ControlId::历史记录), LVM_GETITEMCOUNT, 0, 0));
}

std::string QuendralSession::CellText(int row, int column) const {
  HWND list = Control(ControlId::历史记录);
  for (size_t size = 4096;; size *= 4) {
    RemoteMemory memory(processId(), sizeof(LVITEMA) + size);
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = memory.address() + sizeof(LVITEMA);
    item.cchTextMax = static_cast<int>(size);
    memory.Write(0, &item, sizeof item);
    auto length = static_cast<size_t>(
        ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(memory.address())));
    if (length + 1 < size) {
      std::string text(length, '\0');
      memory.Read(sizeof(LVITEMA), text.data(), length);
      return text;
    }
  }
}

bool QuendralSession::WaitForRowCount(int rows, DWORD timeoutMilliseconds) const {
  return WaitUntil(timeoutMilliseconds, [&] { return RowCount() >= rows; });
}

POINT QuendralSession::RowPoint(int row) const {
  RemoteMemory memory(processId(), sizeof(RECT));
  RECT rect{LVIR_LABEL, 0, 0, 0};
  memory.Write(0, &rect, sizeof rect);
  ::SendMessageA(Control(ControlId::历史记录), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(memory.address()));
  memory.Read(0, &rect, sizeof rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void QuendralSession::ClickRow(int row) const {
  HWND list = Control(ControlId::历史记录);
  POINT point = RowPoint(row);
  ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  ::SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

void QuendralSession::RightClickList(POINT point) const {
  HWND list = Control(ControlId::历史记录);
  POINT onScreen = point;
  ::ClientToScreen(list, &onScreen);
  ::SetCursorPos(onScreen.x, onScreen.y);
  ::PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
  ::PostMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

HWND QuendralSession::WaitForPopupMenu(DWORD timeoutMilliseconds) const {
  return WaitForTopLevel("#32768", nullptr, timeoutMilliseconds);
}

void QuendralSession::PressKey(WORD key) const {
  ::PostThreadMessageA(processInformation_.dwThreadId, WM_KEYDOWN, key, 1);
  ::PostThreadMessageA(processInformation_.dwThreadId, WM_KEYUP, key, 0xC0000001);
}

void QuendralSession::CloseWithCloseBox() const { ::PostMessageA(window_, WM_CLOSE, 0, 0); }

void QuendralSession::PressEscape() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(processInformation_.dwThreadId, &info);
  HWND target = info.hwndFocus ? info.hwndFocus : Control(ControlId::地址);
  ::PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 1);
  ::PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

DWORD QuendralSession::WaitForExit(DWORD timeoutMilliseconds) {
  if (::WaitForSingleObject(processInformation_.hProcess, timeoutMilliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(processInformation_.hProcess, &code);
  return code;
}

HWND QuendralSession::WaitForWindow(const std::string& title, DWORD timeoutMilliseconds) const {
  return WaitForTopLevel(nullptr, &title, timeoutMilliseconds);
}

HWND QuendralSession::WaitForTopLevel(const char* className, const std::string* title, DWORD timeoutMilliseconds) const {
  HWND found = nullptr;
  WaitUntil(timeoutMilliseconds, [&] {
    found = FindTopLevel(processId(), className, title, true);
    return found != nullptr;
  });
  return found;
}

std::string DialogMessage(HWND dialog) {
  std::string message;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = {};
    ::GetClassNameA(child, name, sizeof name);
    std::string text = WindowText(child);
    if (std::string(name) == "Static" && !text.empty()) message += (message.empty() ? "" : "\n") + text;
  }
  return message;
}

void PressDialogButton(HWND dialog, int id) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

HWND FileDialogNameField(HWND dialog) {
  if (HWND combo = ::GetDlgItem(dialog, cmb13)) return combo;
  return ::GetDlgItem(dialog, edt1);
}

void AnswerFileDialog(HWND dialog, const std::string& name) {
  ::SendMessageA(FileDialogNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  PressDialogButton(dialog, IDOK);
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes(::GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  ::CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == bytes.size();
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string BesideThisProgram(const std::string& name) {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory = path;
  return directory.substr(0, directory.find_last_of('\\') + 1) + name;
}
