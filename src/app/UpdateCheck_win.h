#pragma once
// The update check at start-up: asks the maker's server for the published version and, when it
// differs from ours, lets the user give up, update online or update by hand; every answer but the
// online update ends the program before its window is shown.
#include <string>
#include <string_view>

#include "platform/CommandContext.h"

// What this build of the program checks against and hands over.
struct UpdateSource {
  std::string versionDocumentUrl;   // plain HTTP, last path element "update_version.html"
  std::string manualUpdatePageUrl;  // HTTPS
  std::string_view updaterImage;    // the complete file of Update.exe
};

inline constexpr char UpdaterFileName[] = "Update.exe";
inline constexpr char UpdateNotice[] = "您好，此软件需要更新，请下载最新版";
inline constexpr char UpdatePrompt[] = "更新方式请选择，输入对应的序号即可！\r\n0.放弃更新 1.在线更新 2.手动更新";
inline constexpr char UpdatePromptTitle[] = "请选择更新方式：";
inline constexpr char InputFailedMessage[] = "输入失败，程序退出！";
inline constexpr char GaveUpMessage[] = "您放弃了更新版本";
inline constexpr char UpdaterStartingMessage[] =
    "点击确定后会向Update程序发出命令，如果调用api失败，请手动打开软件根目录下的Update.exe进行更新";
inline constexpr char ManualUpdateMessage[] =
    "网址已在您默认的浏览器打开，如果没有打开，已自动将网址复制在您的剪切板\r\n请打开浏览器粘贴网址回车访问即可！";

// The version request blocks the start while the window is hidden, so it is kept short.
inline constexpr unsigned VersionConnectMilliseconds = 3000;
inline constexpr unsigned VersionTotalMilliseconds = 5000;

// Returns when start-up is to go on (the window's destruction may have been requested: online
// update); otherwise ends the process through the context's Interaction.
void CheckForUpdate(const CommandContext& context, const UpdateSource& source);
