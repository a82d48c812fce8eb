#pragma once
#include "platform/Interaction.h"

// The program's own way of talking to the user: real boxes, dialogs and the shell.
class SystemInteraction final : public Interaction {
 public:
  void ShowMessage(HWND owner, const std::string& text, const std::string& title, UINT style) override;
  void OpenWebPage(const std::string& address) override;
  std::string OpenFile(const OpenFileRequest& request) override;
  std::string SaveFile(const SaveFileRequest& request) override;
  std::string AskForNumber(const std::string& prompt, const std::string& title) override;
  bool StartProgram(const std::string& path, const std::string& commandLine) override;
  void EndProcess() override;
  void RevealInFolder(const std::string& path) override;
};
