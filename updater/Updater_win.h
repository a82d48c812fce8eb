#pragma once
// The updater's one window and the work behind it: wait until the program beside it can be
// replaced, download the new version and its signature, verify them, install, start.
#include <string>
#include <string_view>

struct UpdaterSite {
  std::string programFileName;  // in the updater's own folder
  std::string programUrl;
  std::string signatureUrl;
  std::string_view publicKeySpki;  // the maker's key, DER SubjectPublicKeyInfo
};

// How the updater ended; its exit code.
enum UpdaterExit : int {
  UpdaterInstalled = 0,
  UpdaterFailed = 1,
  UpdaterCancelled = 2,
};

inline constexpr char UpdaterWindowClass[] = "QuendralUpdater";
inline constexpr char UpdaterTitle[] = "Quendral 在线更新";
inline constexpr int UpdaterStatusId = 100;
inline constexpr int UpdaterProgressId = 101;
inline constexpr int UpdaterButtonId = 102;
inline constexpr char UpdaterCancelText[] = "取消";
inline constexpr char UpdaterCloseText[] = "关闭";
inline constexpr unsigned ProgramExitWaitMilliseconds = 30000;

int RunUpdater(const UpdaterSite& site);
