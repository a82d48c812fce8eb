#pragma once
// What the open and save dialogs are asked for, and the parts of the platform's request that
// need no Windows header: the flags, the filter list and the file-name buffer.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The file types both of the program's dialogs offer: "所有文件|*.*|jpg图片|*.jpg|png图片|*.png"
// (code page 936 bytes spelled out, so that every compiler gives the same).
inline constexpr char ProgramFileFilter[] =
    "\xCB\xF9\xD3\xD0\xCE\xC4\xBC\xFE|*.*|jpg\xCD\xBC\xC6\xAC|*.jpg|png\xCD\xBC\xC6\xAC|*.png";

// Every member may be left out. A title, initial folder or default extension left out is not
// handed to the dialog at all (the dialog then uses its own); a flag left out is off.
struct OpenFileRequest {
  bool preview = false;  // the variant with a preview pane
  std::optional<std::string> title;
  std::string defaultName;
  std::string filter;  // display texts and patterns, separated by "|"
  std::optional<std::string> initialFolder;
  std::optional<std::string> defaultExtension;  // handed over as given, dot included
  bool createPrompt = false;
  bool fileMustExist = false;
  bool pathMustExist = false;
  bool keepDirectory = false;  // keep the process's current directory
};

struct SaveFileRequest {
  bool preview = false;
  std::optional<std::string> title;
  std::string defaultName;
  std::string filter;
  std::optional<std::string> initialFolder;
  std::optional<std::string> defaultExtension;
  bool overwritePrompt = false;
  bool pathMustExist = false;
  bool keepDirectory = false;
};

// OPENFILENAMEA's Flags bits, commdlg.h.
namespace dialog_flag {
inline constexpr uint32_t Explorer = 0x80000;      // OFN_EXPLORER
inline constexpr uint32_t CreatePrompt = 0x2000;   // OFN_CREATEPROMPT
inline constexpr uint32_t FileMustExist = 0x1000;  // OFN_FILEMUSTEXIST
inline constexpr uint32_t PathMustExist = 0x800;   // OFN_PATHMUSTEXIST
inline constexpr uint32_t NoChangeDir = 0x8;       // OFN_NOCHANGEDIR
inline constexpr uint32_t OverwritePrompt = 0x2;   // OFN_OVERWRITEPROMPT
}  // namespace dialog_flag

uint32_t DialogFlags(const OpenFileRequest& request);
uint32_t DialogFlags(const SaveFileRequest& request);

// The platform's filter list: every "|" becomes a NUL and two NULs close the list, so
// "jpg图片|*.jpg" is one pair and a text without "|" is one display text with no pattern.
std::string DialogFilter(std::string_view filter);

// The dialog's file-name buffer: 255 bytes, zero but for the default name and its NUL. A default
// name that does not fit (over 254 bytes) is left out, so the dialog opens with an empty name.
inline constexpr size_t FileNameBufferSize = 255;
using FileNameBuffer = std::array<char, FileNameBufferSize>;
FileNameBuffer MakeFileNameBuffer(std::string_view defaultName);
// The buffer's text up to its first NUL.
std::string FileNameInBuffer(const FileNameBuffer& buffer);
