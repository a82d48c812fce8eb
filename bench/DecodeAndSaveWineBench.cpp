// The decode-and-save command under Wine, measured by hand (not by CTest):
//   scripts/wine-run build/windows/bench/decode_save_wine_bench.exe
// 1. On a hidden main window: the text in 编码文本, "base64解码" clicked, the save dialog answered
//    by a script, until the file is complete; beside reading the box's text plus DecodeBase64,
//    and beside that plus a plain write or the program's safe write of the bytes ("vs safe" is
//    then what the command adds of its own: the click, the tag, the folders, the dialog seam).
// 2. Without the window: DecodeBase64 plus the program's safe write, beside DecodeBase64 plus a
//    plain write (create or truncate, write, close).
// Every figure is the best of a few runs, in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "ScriptedInteraction.h"
#include "WallClock_win.h"
#include "app/MainWindow_win.h"
#include "codec/Base64.h"
#include "platform/SafeWrite_win.h"
#include "platform/Text_win.h"

namespace {

double Milliseconds(const std::function<void()>& work) { return SecondsTaken(work) * 1e3; }

std::string RandomBytes(size_t size) {
  std::mt19937_64 random(size);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

std::string ScratchFolder() {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "quendral-decode-bench";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

bool PlainWrite(const std::string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == bytes.size();
}

size_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(ToWide(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<size_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void ClickOnTheWindow(const std::string& folder, int runs) {
  ScriptedInteraction ui;
  std::unique_ptr<MainWindow> window = MainWindow::Create(ui, {folder, /*checkForUpdate=*/false});
  if (!window) {
    std::printf("no main window\n");
    return;
  }
  HWND box = window->Control(ControlId::编码文本);
  HWND button = window->Control(ControlId::解码);
  std::string path = folder + "\\clicked.bin";
  std::string plainPath = folder + "\\plain.bin";
  std::printf("%-8s %13s %13s %13s %13s %11s %11s\n", "text", "click->file", "read+decode", "+plain write",
              "+safe write", "vs decode", "vs safe");
  for (size_t kilobytes : {16, 64, 256}) {
    std::string bytes = RandomBytes(kilobytes * 1024 / 4 * 3);
    SetControlText(box, EncodeBase64(bytes));  // not measured: the rich edit wraps long lines slowly
    double clicked = 1e300, decoded = 1e300, plain = 1e300, safe = 1e300;
    // Interleaved, so that a busy neighbour weighs on every figure alike.
    for (int run = 0; run < runs; ++run) {
      clicked = std::min(clicked, Milliseconds([&] {
        ui.saveAnswers.push_back(path);
        ::SendMessageA(button, BM_CLICK, 0, 0);
      }));
      decoded = std::min(decoded, Milliseconds([&] {
        if (DecodeBase64(GetControlText(box)).bytes.size() != bytes.size()) std::printf("wrong decode\n");
      }));
      plain = std::min(plain, Milliseconds([&] {
        if (!PlainWrite(plainPath, DecodeBase64(GetControlText(box)).bytes)) std::printf("plain write failed\n");
      }));
      safe = std::min(safe, Milliseconds([&] {
        if (!WriteFileSafely(plainPath, DecodeBase64(GetControlText(box)).bytes)) std::printf("safe write failed\n");
      }));
    }
    if (FileSize(path) != bytes.size() || !ui.messages.empty()) std::printf("the file was not saved\n");
    std::printf("%5zu KB %10.2f ms %10.2f ms %10.2f ms %10.2f ms %10.1f%% %10.1f%%\n", kilobytes, clicked, decoded,
                plain, safe, 100.0 * (clicked - decoded) / decoded, 100.0 * (clicked - safe) / safe);
  }
  ::DeleteFileA(plainPath.c_str());
  ::DeleteFileA(path.c_str());
}

void WriteBigFiles(const std::string& folder, int runs) {
  std::string path = folder + "\\big.bin";
  std::printf("\n%-8s %20s %21s %8s\n", "file", "decode + safe write", "decode + plain write", "extra");
  for (size_t megabytes : {1, 10, 50}) {
    std::string text = EncodeBase64(RandomBytes(megabytes << 20));
    double safe = 1e3 * BestSeconds(runs, nullptr, [&] {
      if (!WriteFileSafely(path, DecodeBase64(text).bytes)) std::printf("safe write failed\n");
    });
    double plain = 1e3 * BestSeconds(runs, nullptr, [&] {
      if (!PlainWrite(path, DecodeBase64(text).bytes)) std::printf("plain write failed\n");
    });
    std::printf("%5zu MB %17.2f ms %18.2f ms %7.1f%%\n", megabytes, safe, plain, 100.0 * (safe - plain) / plain);
  }
  ::DeleteFileA(path.c_str());
}

}  // namespace

int main() {
  std::string folder = ScratchFolder();
  ClickOnTheWindow(folder, 11);
  WriteBigFiles(folder, 5);
  ::RemoveDirectoryA(folder.c_str());
  return 0;
}
