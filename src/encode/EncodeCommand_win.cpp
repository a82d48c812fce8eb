#include "encode/EncodeCommand_win.h"

#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <new>
#include <optional>
#include <string>

#include "codec/Base64.h"
#include "encode/FileName.h"
#include "platform/FileRead_win.h"
#include "platform/Http_win.h"
#include "platform/Interaction.h"
#include "platform/Text_win.h"
#include "platform/WaitCursor_win.h"
#include "util/Clock_win.h"
#include "util/DateTimeText_win.h"

namespace {

constexpr HttpTimeouts LinkTimeouts{10000, 10000};
constexpr UINT WarningStyle = MB_ICONEXCLAMATION;  // 48

void Warn(const CommandContext& context, const std::string& text, const std::string& title) {
  context.ui->ShowMessage(context.window, text, title, WarningStyle);
}

void WarnTooLarge(const CommandContext& context) {
  Warn(context, "文件太大，内存不足，无法编码。", "编码失败");
}

// An error page or half a file is not the file the user asked for.
std::optional<std::string> ReadLink(const CommandContext& context, const std::string& address) {
  HttpResponse response = HttpGet(address, LinkTimeouts);
  if (response.ok()) return std::move(response.body);
  if (response.outOfMemory) {
    WarnTooLarge(context);
    return std::nullopt;
  }
  std::string text = "下载失败：" + address;
  if (response.answered && (response.status < 200 || response.status >= 300)) {
    text += " (HTTP " + std::to_string(response.status) + ")";
  }
  Warn(context, text, "下载失败");
  return std::nullopt;
}

std::optional<ByteBuffer> ReadLocalFile(const CommandContext& context, const std::string& address) {
  if (!AnyFileSystemEntryMatches(address)) {
    Warn(context, "文件不存在！无法读入数据！", "文件不存在");
    return std::nullopt;
  }
  FileReadResult file = ReadWholeFile(address);
  switch (file.status) {
    case FileReadStatus::Read:
      return std::move(file.bytes);
    case FileReadStatus::OutOfMemory:
      WarnTooLarge(context);
      return std::nullopt;
    case FileReadStatus::Missing:  // gone since it was found, or a pattern
    case FileReadStatus::CannotOpen:
    case FileReadStatus::CannotRead:
      break;
  }
  Warn(context, "无法读取文件：" + address, "读取失败");
  return std::nullopt;
}

bool SetCell(HWND list, int row, int column, const std::string& text) {
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = const_cast<char*>(text.c_str());
  return ::SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell)) != FALSE;
}

// At the top, with no image and item data 0. A row whose text the list could not take would
// hold no file, so it is taken out again.
bool InsertHistoryRow(HWND list, const std::string& time, const std::string& fileName, const std::string& text) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = 0;
  item.pszText = const_cast<char*>(time.c_str());
  int row = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return false;
  if (SetCell(list, row, 1, fileName) && SetCell(list, row, 2, text)) return true;
  ::SendMessageA(list, LVM_DELETEITEM, row, 0);
  return false;
}

// The Base64 text of what the address names, or nothing when the user has been told why not.
std::optional<std::string> EncodedContent(const CommandContext& context, const std::string& address) {
  if (::PathIsURLA(address.c_str())) {
    std::optional<std::string> body = ReadLink(context, address);
    if (!body) return std::nullopt;
    return EncodeBase64(*body);
  }
  std::optional<ByteBuffer> file = ReadLocalFile(context, address);
  if (!file) return std::nullopt;
  return EncodeBase64(file->view());
}

// boxChanged: 编码文本 no longer holds what it held, so a failure from here on must empty it.
void Encode(const CommandContext& context, bool& boxChanged) {
  const std::string address = GetControlText(context.地址);
  std::optional<std::string> text = EncodedContent(context, address);
  if (!text) return;

  // The row keeps what the box holds; a box that could not take the whole text holds nothing.
  boxChanged = true;
  SetControlText(context.编码文本, *text);
  std::string shown = GetControlText(context.编码文本);
  bool whole = shown == *text;
  text.reset();
  if (!whole || !InsertHistoryRow(context.历史记录, DateTimeToText(CurrentDateTime(), "yyyy.M.d ", "hh:mm:ss", true),
                                  FileNameFromAddress(address), shown)) {
    SetControlText(context.编码文本, "");
    WarnTooLarge(context);
  }
}

}  // namespace

void EncodeFile(const CommandContext& context) {
  WaitCursor waiting;
  bool boxChanged = false;
  try {
    Encode(context, boxChanged);
  } catch (const std::bad_alloc&) {
    if (boxChanged) SetControlText(context.编码文本, "");
    WarnTooLarge(context);
  }
}

void ChooseFile(const CommandContext& context) {
  try {
    std::string chosen = context.ui->OpenFile({.preview = true,
                                               .title = "请选择要编码的文件",
                                               .filter = ProgramFileFilter,
                                               .initialFolder = context.programDirectory,
                                               .defaultExtension = ".jpg",
                                               .createPrompt = true,
                                               .fileMustExist = true,
                                               .pathMustExist = true,
                                               .keepDirectory = false});
    if (!chosen.empty()) SetControlText(context.地址, chosen);
  } catch (const std::bad_alloc&) {
  }
}
