// Loading and saving the history on the real (hidden) main window's list, beside reading and
// writing the same number of bytes as a plain file. Run it by hand under Wine:
//   scripts/wine-run build/windows/bench/history_bench.exe [repetitions]
// Every figure is the best of the repetitions (5 unless told), so that a neighbour's load on a
// shared machine weighs as little as possible. Wall-clock time, files in the temporary folder.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "WallClock_win.h"
#include "app/AppInfo.h"
#include "app/MainWindow_win.h"
#include "app/SystemInteraction_win.h"
#include "history/HistoryFile_win.h"
#include "history/HistoryRecords.h"
#include "history/ListViewAccess_win.h"
#include "platform/Handles.h"
#include "platform/SafeWrite_win.h"
#include "platform/Text_win.h"

namespace {

std::string HistoryBytes(int rows, size_t textBytes) {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::mt19937 random(11);
  std::string text(textBytes, 'A');
  std::string bytes;
  bytes.reserve(static_cast<size_t>(rows) * (textBytes + 100));
  for (int row = 0; row < rows; ++row) {
    for (char& c : text) c = alphabet[random() % 64];
    AppendRowRecord(bytes, -1, -1, 0, 0, "2021.11." + std::to_string(1 + row % 28) + " 12:10:12");
    AppendCellRecord(bytes, -1, "文件" + std::to_string(row) + ".png");
    AppendCellRecord(bytes, -1, text);
  }
  return bytes;
}

size_t PlainRead(const std::wstring& path) {
  unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  ::GetFileSizeEx(file.get(), &size);
  auto buffer = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < static_cast<size_t>(size.QuadPart)) {
    DWORD read = 0;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(static_cast<size_t>(size.QuadPart) - done, 16 << 20));
    if (!::ReadFile(file.get(), buffer.get() + done, chunk, &read, nullptr) || read == 0) break;
    done += read;
  }
  return done;
}

void PlainWrite(const std::wstring& path, const std::string& bytes, bool flush) {
  unique_hfile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 16 << 20));
    if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr)) break;
    done += written;
  }
  if (flush) ::FlushFileBuffers(file.get());
}

void Report(const char* what, double seconds, double megabytes, double plain) {
  std::printf("  %-42s %9.1f ms %8.0f MB/s", what, seconds * 1000, megabytes / seconds);
  if (plain > 0) std::printf("   %5.2f x plain", seconds / plain);
  std::printf("\n");
}

void Measure(HWND list, const std::string& folder, int rows, size_t textBytes, int repetitions) {
  const std::string bytes = HistoryBytes(rows, textBytes);
  const double megabytes = static_cast<double>(bytes.size()) / (1 << 20);
  const std::string path = folder + "\\" + HistoryFileName;
  const std::wstring widePath = ToWide(path), plainPath = ToWide(folder + "\\plain.bin");
  PlainWrite(widePath, bytes, true);
  PlainWrite(plainPath, bytes, true);
  std::printf("%d rows of %zu KB texts: %.1f MB\n", rows, textBytes >> 10, megabytes);

  auto clear = [&] { ListView_DeleteAllItems(list); };
  double plainRead = BestSeconds(repetitions, nullptr, [&] { PlainRead(plainPath); });
  double parse = BestSeconds(repetitions, nullptr, [&] { (void)ParseHistoryRecords(bytes).size(); });
  std::vector<HistoryRow> parsed = ParseHistoryRecords(bytes);
  std::wstring wide;
  double widen = BestSeconds(repetitions, nullptr, [&] {
    for (const HistoryRow& row : parsed) {
      ListTextToWide(row.text, wide);
      for (const HistoryCell& cell : row.cells) ListTextToWide(cell.text, wide);
    }
  });
  double fill = BestSeconds(repetitions, clear, [&] { SetItemsData(list, bytes); });
  double load = BestSeconds(repetitions, clear, [&] { LoadHistoryFile(list, path); });
  if (ListView_GetItemCount(list) != rows) std::printf("  LOAD GAVE %d ROWS\n", ListView_GetItemCount(list));
  std::string saved;
  double readList = BestSeconds(repetitions, nullptr, [&] { saved = GetItemsData(list); });
  if (saved != bytes) std::printf("  THE LIST READ BACK DIFFERS FROM THE FILE\n");
  double plainWrite = BestSeconds(repetitions, nullptr, [&] { PlainWrite(plainPath, bytes, false); });
  double plainWriteFlushed = BestSeconds(repetitions, nullptr, [&] { PlainWrite(plainPath, bytes, true); });
  double safeWrite = BestSeconds(repetitions, nullptr, [&] { WriteFileSafely(path, bytes); });
  double save = BestSeconds(repetitions, nullptr, [&] { SaveHistoryFile(list, path); });

  Report("plain read", plainRead, megabytes, 0);
  Report("parse the records", parse, megabytes, plainRead);
  Report("texts to the list's UTF-16", widen, megabytes, plainRead);
  Report("SetItemsData (parse, convert, fill list)", fill, megabytes, plainRead);
  Report("LoadHistoryFile (read, parse, fill list)", load, megabytes, plainRead);
  Report("plain write", plainWrite, megabytes, 0);
  Report("plain write and flush", plainWriteFlushed, megabytes, 0);
  Report("read every cell of the list", readList, megabytes, plainWriteFlushed);
  Report("WriteFileSafely (temp, flush, rename)", safeWrite, megabytes, plainWriteFlushed);
  Report("SaveHistoryFile (read list, safe write)", save, megabytes, plainWriteFlushed);
  clear();
}

}  // namespace

int main(int argc, char** argv) {
  int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  ::OleInitialize(nullptr);
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "quendral-bench-" + std::to_string(::GetCurrentProcessId());
  ::CreateDirectoryA(folder.c_str(), nullptr);
  {
    SystemInteraction ui;
    std::unique_ptr<MainWindow> window = MainWindow::Create(ui, {folder, /*checkForUpdate=*/false});
    if (!window) return 1;
    HWND list = window->Control(ControlId::历史记录);
    std::printf("history on the hidden main window's list, best of %d\n", repetitions);
    Measure(list, folder, 1000, 10 << 10, repetitions);
    Measure(list, folder, 20, 5 << 20, repetitions);
  }
  for (const char* name : {"\\plain.bin", "\\历史记录.ebb"}) ::DeleteFileW(ToWide(folder + name).c_str());
  ::RemoveDirectoryA(folder.c_str());
  ::OleUninitialize();
  return 0;
}
