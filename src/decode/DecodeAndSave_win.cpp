#include "decode/DecodeAndSave_win.h"

#include <new>
#include <string>

#include "codec/Base64.h"
#include "decode/PathOperations_win.h"
#include "platform/Interaction.h"
#include "platform/SafeWrite_win.h"
#include "platform/Text_win.h"
#include "platform/WaitCursor_win.h"
#include "util/FileDialogRequest.h"

namespace {

constexpr UINT WarningStyle = MB_ICONEXCLAMATION;  // 48
constexpr char DecodeFailedTitle[] = "解码失败";

std::string InvalidTextMessage(size_t position) {
  return "base64编码无效：第" + std::to_string(position) + "个字节有误，未保存任何文件。";
}

void Warn(const CommandContext& context, const std::string& text, const std::string& title) {
  context.ui->ShowMessage(context.window, text, title, WarningStyle);
}

// True while a decode runs. The messages handled during it may click "base64解码" again; that
// click is passed over, or the user would be asked for a file name twice.
bool decodeRunning = false;

struct DecodeRunning {
  DecodeRunning() { decodeRunning = true; }
  ~DecodeRunning() { decodeRunning = false; }
  DecodeRunning(const DecodeRunning&) = delete;
  DecodeRunning& operator=(const DecodeRunning&) = delete;
};

struct DecodedText {
  DecodeResult result;
  bool windowGone = false;  // closed meanwhile: its controls are gone and the program is ending
};

DecodedText DecodeTextBox(const CommandContext& context, MessagePump::Clock clock) {
  DecodeRunning running;
  WaitCursor waiting;
  // Our own copy: the box may be cleared or refilled while the decode lets messages through.
  const std::string text = GetControlText(context.编码文本);
  MessagePump pump(clock);
  DecodedText decoded;
  decoded.result = DecodeBase64(text, [&pump] { pump.Step(); });
  decoded.windowGone = pump.quitRequested() || !::IsWindow(context.window);
  return decoded;
}

void DecodeAndSaveText(const CommandContext& context, MessagePump::Clock clock) {
  DecodedText decoded = DecodeTextBox(context, clock);
  if (decoded.windowGone) return;
  if (!decoded.result.ok()) {
    Warn(context, InvalidTextMessage(decoded.result.errorPosition), DecodeFailedTitle);
    return;
  }

  // Read after the decode, so that a history row chosen meanwhile names the file.
  std::string path = context.ui->SaveFile({.preview = true,
                                           .title = "请选择保存的位置",
                                           .defaultName = context.programDirectory + "\\" + GetControlTag(context.编码文本),
                                           .filter = ProgramFileFilter,
                                           .initialFolder = context.programDirectory,
                                           .defaultExtension = ".jpg",
                                           .overwritePrompt = true,
                                           .pathMustExist = false,
                                           .keepDirectory = false});
  if (path.empty()) return;

  CreateDirectoryChain(DirectoryOfPath(path));
  if (!WriteFileSafely(path, decoded.result.bytes)) {
    Warn(context, "无法写入文件：" + path, "保存失败");
    return;
  }
  // The file is saved whole; not showing it for want of memory is no failure to report.
  try {
    context.ui->RevealInFolder(path);
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace

void DecodeAndSave(const CommandContext& context) { DecodeAndSave(context, ::GetTickCount64); }

void DecodeAndSave(const CommandContext& context, MessagePump::Clock clock) {
  if (decodeRunning) return;
  try {
    DecodeAndSaveText(context, clock);
  } catch (const std::bad_alloc&) {
    if (::IsWindow(context.window)) Warn(context, "内存不足，无法解码，未保存任何文件。", DecodeFailedTitle);
  }
}
