#include "updater/Updater_win.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "platform/Font_win.h"
#include "platform/Handles.h"
#include "platform/Http_win.h"
#include "platform/Messages_win.h"
#include "platform/Process_win.h"
#include "platform/SafeWrite_win.h"
#include "platform/Shell_win.h"
#include "platform/Text_win.h"
#include "updater/Installer.h"
#include "updater/SignatureFormat.h"
#include "updater/Verify_win.h"

namespace {

constexpr UINT StatusMessage = WM_APP + 1;    // lParam: the text, a const std::string*
constexpr UINT ProgressMessage = WM_APP + 2;  // wParam: per mille done
constexpr UINT FinishedMessage = WM_APP + 3;  // the outcome is in the Updater
constexpr UINT InstallingMessage = WM_APP + 4;  // from now on the work cannot be cancelled

constexpr HttpTimeouts DownloadTimeouts{10000, 30000};
constexpr DWORD PollMilliseconds = 200;
constexpr char Unchanged[] = "原来的程序没有改动。";

struct Outcome {
  UpdaterExit exit;
  std::string text;
};

struct Updater {
  UpdaterSite site;
  std::string folder;
  HWND window = nullptr;
  HWND status = nullptr;
  HWND progress = nullptr;
  HWND button = nullptr;
  unique_hfont font;
  std::thread worker;
  std::atomic<bool> cancelled{false};
  bool working = true;
  bool closeWhenFinished = false;
  Outcome outcome{UpdaterFailed, {}};
};

// What the worker tells the window; sent, so the window shows it before the work goes on.
void Report(const Updater& updater, const std::string& text) {
  ::SendMessageA(updater.window, StatusMessage, 0, reinterpret_cast<LPARAM>(&text));
}

void ReportProgress(const Updater& updater, unsigned long long done, unsigned long long total) {
  WPARAM perMille = total ? static_cast<WPARAM>(std::min<unsigned long long>(done, total) * 1000 / total) : 0;
  ::SendMessageA(updater.window, ProgressMessage, perMille, 0);
}

std::string Kilobytes(unsigned long long bytes) { return std::to_string((bytes + 1023) / 1024) + " KB"; }

std::string ErrorCode(unsigned long code) { return "（错误代码 " + std::to_string(code) + "）"; }

std::string HexStatus(long status) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(status));
  return text;
}

bool FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesW(ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

enum class Wait { Replaceable, StillInUse, Cancelled };

// A running program's file cannot be opened for writing by anyone; once it can, it can be moved.
Wait WaitUntilReplaceable(const std::string& path, const std::atomic<bool>& cancelled) {
  std::wstring widePath = ToWide(path);
  DWORD start = ::GetTickCount();
  for (;;) {
    if (cancelled) return Wait::Cancelled;
    unique_hfile file(::CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD error = ::GetLastError();
    // Any other refusal is not a matter of waiting; the installation says what it is.
    if (file || (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION)) return Wait::Replaceable;
    if (::GetTickCount() - start >= ProgramExitWaitMilliseconds) return Wait::StillInUse;
    ::Sleep(PollMilliseconds);
  }
}

std::string WhyNotDownloaded(const HttpResponse& response) {
  if (response.outOfMemory) return "内存不足";
  if (!response.answered) return "无法连接服务器";
  if (response.status < 200 || response.status >= 300) return "服务器回答 " + std::to_string(response.status);
  return "下载不完整";
}

class Win32Files final : public InstallFileSystem {
 public:
  bool WriteAndFlush(const std::string& path, std::string_view bytes) override {
    unique_hfile file(::CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Failed();
    return WriteAllAndFlush(file.get(), bytes) || Failed();
  }
  bool Move(const std::string& from, const std::string& to, bool replaceExisting) override {
    DWORD flags = MOVEFILE_WRITE_THROUGH | (replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0);
    return ::MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(), flags) || Failed();
  }
  bool Remove(const std::string& path) override { return ::DeleteFileW(ToWide(path).c_str()) || Failed(); }
  bool StartProgram(const std::string& path) override { return ::StartProgram(path, "\"" + path + "\"") || Failed(); }
  unsigned long LastError() const override { return error_; }

 private:
  bool Failed() {
    error_ = ::GetLastError();
    return false;
  }
  DWORD error_ = 0;
};

std::string InstallMessage(const InstallResult& result, const InstallPaths& paths, const std::string& name) {
  const std::string code = ErrorCode(result.error);
  switch (result.outcome) {
    case InstallOutcome::Installed:
      return "更新完成，新版本已启动。";
    case InstallOutcome::NotWritten:
      return "无法写入新版本" + code + "。" + Unchanged;
    case InstallOutcome::OldNotMovedAside:
      return "无法移开原来的程序" + code + "。" + Unchanged;
    case InstallOutcome::NewNotMovedIn:
      return "无法放入新版本" + code + "，已恢复原来的程序。";
    case InstallOutcome::NewNotStarted:
      return "新版本无法启动" + code + "，已恢复原来的程序。";
    case InstallOutcome::RollbackFailed:
      return "无法恢复原来的程序" + code + "。原来的程序保存在 " + paths.aside + "，请把它改名为 " + name + "。";
  }
  return {};
}

Outcome Work(Updater& updater) {
  const UpdaterSite& site = updater.site;
  const std::string& name = site.programFileName;
  const std::string program = updater.folder + "\\" + name;
  if (!FileExists(program)) return {UpdaterFailed, "在Update.exe所在的文件夹中找不到 " + name + "，无法更新。"};

  Report(updater, "正在等待 " + name + " 退出…");
  switch (WaitUntilReplaceable(program, updater.cancelled)) {
    case Wait::Replaceable:
      break;
    case Wait::StillInUse:
      return {UpdaterFailed, name + " 在30秒内没有退出，无法替换。" + Unchanged + "请关闭它后再运行Update.exe。"};
    case Wait::Cancelled:
      return {UpdaterCancelled, std::string("更新已取消，") + Unchanged};
  }

  Report(updater, "正在下载新版本…");
  HttpResponse fresh = HttpGet(site.programUrl, DownloadTimeouts, [&](unsigned long long done, unsigned long long total) {
    Report(updater, "正在下载新版本：已下载 " + Kilobytes(done) + (total ? "，共 " + Kilobytes(total) : ""));
    ReportProgress(updater, done, total);
    return !updater.cancelled;
  });
  if (updater.cancelled) return {UpdaterCancelled, std::string("更新已取消，") + Unchanged};
  if (!fresh.ok()) return {UpdaterFailed, "无法下载新版本：" + WhyNotDownloaded(fresh) + "。" + Unchanged};

  Report(updater, "正在下载签名…");
  HttpResponse signature = HttpGet(site.signatureUrl, DownloadTimeouts, [&](unsigned long long, unsigned long long) {
    return !updater.cancelled;
  });
  if (updater.cancelled) return {UpdaterCancelled, std::string("更新已取消，") + Unchanged};
  if (!signature.ok()) return {UpdaterFailed, "无法下载新版本的签名：" + WhyNotDownloaded(signature) + "。" + Unchanged};

  // Nothing of the download touches the disk before both checks pass.
  Report(updater, "正在校验签名…");
  VerifyResult verified = VerifySignature(fresh.body, signature.body, site.publicKeySpki);
  if (verified.check == SignatureCheck::Unavailable) {
    return {UpdaterFailed, "无法校验新版本的签名（状态 " + HexStatus(verified.status) + "），已拒绝安装。" + Unchanged};
  }
  if (verified.check != SignatureCheck::Valid) {
    return {UpdaterFailed, std::string("新版本的签名无效，不是发布者签发的，已拒绝安装。") + Unchanged};
  }
  if (!LooksLikeWindowsProgram(fresh.body)) {
    return {UpdaterFailed, std::string("下载的文件不是Windows程序，已拒绝安装。") + Unchanged};
  }

  // From here on the old program is moved; the steps are short and are not cancelled halfway.
  ::SendMessageA(updater.window, InstallingMessage, 0, 0);
  if (updater.cancelled) return {UpdaterCancelled, std::string("更新已取消，") + Unchanged};
  Report(updater, "正在安装新版本…");
  Win32Files files;
  const InstallPaths paths = InstallPathsFor(program);
  InstallResult installed = InstallProgram(files, paths, fresh.body);
  return {installed.outcome == InstallOutcome::Installed ? UpdaterInstalled : UpdaterFailed,
          InstallMessage(installed, paths, name)};
}

void Finish(Updater& updater) {
  updater.worker.join();
  updater.working = false;
  ::SetWindowTextA(updater.status, updater.outcome.text.c_str());
  if (updater.outcome.exit == UpdaterInstalled || updater.closeWhenFinished) {
    ::DestroyWindow(updater.window);
    return;
  }
  ::SendMessageA(updater.progress, PBM_SETPOS, 0, 0);
  ::SetWindowTextA(updater.button, UpdaterCloseText);
  ::EnableWindow(updater.button, TRUE);
  ::SetFocus(updater.button);
}

void RequestCancel(Updater& updater) {
  if (!::IsWindowEnabled(updater.button)) return;  // installing, or already cancelling
  updater.cancelled = true;
  ::EnableWindow(updater.button, FALSE);
  ::SetWindowTextA(updater.status, "正在取消…");
}

LRESULT CALLBACK UpdaterProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* updater = reinterpret_cast<Updater*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      ::SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
      break;
    case StatusMessage:
      ::SetWindowTextA(updater->status, reinterpret_cast<const std::string*>(lParam)->c_str());
      return 0;
    case ProgressMessage:
      ::SendMessageA(updater->progress, PBM_SETPOS, wParam, 0);
      return 0;
    case FinishedMessage:
      Finish(*updater);
      return 0;
    case InstallingMessage:
      ::EnableWindow(updater->button, FALSE);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == UpdaterButtonId && HIWORD(wParam) == BN_CLICKED) {
        if (updater->working) {
          RequestCancel(*updater);
        } else {
          ::DestroyWindow(window);
        }
      }
      return 0;
    case WM_CLOSE:
      // The work ends first, so that nothing is left half done.
      if (!updater->working) {
        ::DestroyWindow(window);
      } else {
        updater->closeWhenFinished = true;
        RequestCancel(*updater);
      }
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(updater->outcome.exit);
      return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

bool CreateUpdaterWindow(Updater& updater) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = UpdaterProcedure;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.hIcon = ::LoadIconA(windowClass.hInstance, MAKEINTRESOURCEA(1));
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = UpdaterWindowClass;
  if (!::RegisterClassExA(&windowClass)) return false;

  constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, 400, 120};
  ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  updater.window = ::CreateWindowExA(WS_EX_CONTROLPARENT, UpdaterWindowClass, UpdaterTitle, style,
                                     work.left + (work.right - work.left - width) / 2,
                                     work.top + (work.bottom - work.top - height) / 2, width, height, nullptr,
                                     nullptr, windowClass.hInstance, &updater);
  if (!updater.window) return false;

  auto child = [&](const char* className, DWORD childStyle, int id, int x, int y, int w, int h, const char* text) {
    HWND control = ::CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | childStyle, x, y, w, h,
                                     updater.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     windowClass.hInstance, nullptr);
    if (control && updater.font) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(updater.font.get()), 0);
    return control;
  };
  updater.font = CreateMessageFont();
  updater.status = child("STATIC", SS_LEFT | SS_NOPREFIX, UpdaterStatusId, 16, 14, 368, 40, "正在准备更新…");
  updater.progress = child(PROGRESS_CLASSA, 0, UpdaterProgressId, 16, 58, 368, 16, "");
  updater.button = child("BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, UpdaterButtonId, 296, 84, 88, 26, UpdaterCancelText);
  if (!updater.status || !updater.progress || !updater.button) return false;
  ::SendMessageA(updater.progress, PBM_SETRANGE32, 0, 1000);
  MakeKeyboardWindow(updater.window);
  return true;
}

}  // namespace

int RunUpdater(const UpdaterSite& site) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);

  Updater updater;
  updater.site = site;
  updater.folder = ProgramDirectory();
  if (!CreateUpdaterWindow(updater)) return UpdaterFailed;
  ::ShowWindow(updater.window, SW_SHOWNORMAL);
  ::UpdateWindow(updater.window);

  // A second updater in the same session would move the same files at the same time.
  unique_handle onlyOne(::CreateMutexA(nullptr, FALSE, "Local\\QuendralUpdater"));
  if (!onlyOne || ::GetLastError() == ERROR_ALREADY_EXISTS) {
    updater.outcome = {UpdaterFailed, "另一个更新程序正在运行。"};
    updater.worker = std::thread([] {});
    ::PostMessageA(updater.window, FinishedMessage, 0, 0);
  } else {
    updater.worker = std::thread([&updater] {
      updater.outcome = Work(updater);
      ::PostMessageA(updater.window, FinishedMessage, 0, 0);
    });
  }

  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) DispatchQueuedMessage(message);
  if (updater.worker.joinable()) updater.worker.join();
  return updater.outcome.exit;
}
