// Under Wine (or Windows), run by hand: the encode command on the real window, from the click on
// 开始 to the new row being in the list, for files whose Base64 text is 16, 64 and 256 KB, beside
// what the text box costs by itself: WM_SETTEXT of the same text into a bare rich edit of the same
// kind and size, and EM_STREAMIN of it. The command's own work is measured piece by piece, since
// under Wine the box's time varies by more than all of it: reading and encoding the file, reading
// the text back and adding a row holding it. Wall time, the best of the repetitions (first
// argument, default 1).
//   scripts/wine-run build/windows/bench/encode_command_bench.exe 3
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "ScriptedInteraction.h"
#include "WallClock_win.h"
#include "app/Layout.h"
#include "app/MainWindow_win.h"
#include "codec/Base64.h"
#include "platform/FileRead_win.h"
#include "platform/Text_win.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "encode_command_bench: %s\n", what);
  std::exit(1);
}

void Pump() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
}

struct StreamSource {
  const std::string* text;
  size_t given = 0;
};

DWORD CALLBACK GiveText(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto& source = *reinterpret_cast<StreamSource*>(cookie);
  size_t count = std::min(source.text->size() - source.given, static_cast<size_t>(wanted));
  std::copy_n(source.text->data() + source.given, count, buffer);
  source.given += count;
  *given = static_cast<LONG>(count);
  return 0;
}

void StreamIn(HWND box, const std::string& text) {
  StreamSource source{&text};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, GiveText};
  ::SendMessageA(box, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}

// A rich edit like 编码文本, alone in a window of its own.
HWND BareTextBox() {
  HWND frame = ::CreateWindowExA(0, "STATIC", "bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                 nullptr, nullptr, nullptr);
  const ControlDesign* design = std::find_if(std::begin(MainWindowControls), std::end(MainWindowControls),
                                         [](const ControlDesign& c) { return c.id == ControlId::编码文本; });
  HWND box = ::CreateWindowExA(design->exStyle, design->className, "", ControlBaseStyle | design->style, design->left,
                               design->top, design->width, design->height, frame, nullptr, nullptr, nullptr);
  ::SendMessageA(box, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
  ::SendMessageA(box, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  return box;
}

std::string SampleBytes(size_t size) {
  std::string bytes(size, '\0');
  unsigned value = static_cast<unsigned>(size);
  for (char& byte : bytes) byte = static_cast<char>((value = value * 1103515245 + 12345) >> 16);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "quendral-bench";
  ::CreateDirectoryA(folder.c_str(), nullptr);

  ScriptedInteraction ui;
  std::unique_ptr<MainWindow> window = MainWindow::Create(ui, {folder, false});
  Require(window != nullptr, "no main window");
  ::ShowWindow(window->handle(), SW_SHOWNORMAL);
  HWND address = window->Control(ControlId::地址);
  HWND box = window->Control(ControlId::编码文本);
  HWND list = window->Control(ControlId::历史记录);
  HWND start = window->Control(ControlId::开始);
  HWND bare = BareTextBox();
  Pump();

  std::printf("%6s %10s %10s %11s %12s %10s %8s %14s\n", "text", "command", "WM_SETTEXT", "EM_STREAMIN", "read+encode",
              "read back", "row", "ours in all");
  for (size_t kilobytes : {16, 64, 256}) {
    const std::string path = folder + "\\sample-" + std::to_string(kilobytes) + ".bin";
    const std::string bytes = SampleBytes(kilobytes * 1024 / 4 * 3);
    FILE* file = std::fopen(path.c_str(), "wb");
    Require(file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fclose(file) == 0,
            "cannot write the sample");
    const std::string text = EncodeBase64(bytes);
    SetControlText(address, path);

    double command = 1e9, setText = 1e9, streamIn = 1e9, readEncode = 1e9, readBack = 1e9, row = 1e9;
    for (int i = 0; i < repetitions; ++i) {
      SetControlText(box, "");
      int rows = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
      command = std::min(command, SecondsTaken([&] { ::SendMessageA(start, BM_CLICK, 0, 0); }));
      Require(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == rows + 1 && ui.messages.empty(), "no row added");
      readBack = std::min(readBack, SecondsTaken([&] { Require(GetControlText(box) == text, "wrong text in the box"); }));
      Pump();

      SetControlText(bare, "");
      setText = std::min(setText, SecondsTaken([&] { SetControlText(bare, text); }));
      SetControlText(bare, "");
      streamIn = std::min(streamIn, SecondsTaken([&] { StreamIn(bare, text); }));
      Require(GetControlText(bare) == text, "wrong text in the bare box");
      Pump();

      readEncode = std::min(readEncode, SecondsTaken([&] {
                              Require(EncodeBase64(ReadWholeFile(path).bytes.view()) == text, "wrong encoding");
                            }));
      const int last = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
      row = std::min(row, SecondsTaken([&] {
                       LVITEMA item{};
                       item.mask = LVIF_TEXT;
                       item.iItem = last;
                       item.pszText = const_cast<char*>("2021.11.12 12:10:12");
                       int at = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
                       item.iSubItem = 2;
                       item.pszText = const_cast<char*>(text.c_str());
                       ::SendMessageA(list, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&item));
                     }));
      ::SendMessageA(list, LVM_DELETEITEM, last, 0);
    }
    const double ours = readEncode + readBack + row;
    std::printf("%4zuKB %9.3fs %9.3fs %10.3fs %10.2fms %8.2fms %6.2fms %8.2fms %5.2f%%\n", kilobytes, command, setText,
                streamIn, readEncode * 1e3, readBack * 1e3, row * 1e3, ours * 1e3, ours / setText * 100);
    std::fflush(stdout);
    ::DeleteFileA(path.c_str());
  }
  window.reset();
  ::RemoveDirectoryA(folder.c_str());
}
