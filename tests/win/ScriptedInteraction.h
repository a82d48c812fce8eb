#pragma once
// Stands in for the user in tests: records what a command showed or asked for, and answers
// dialogs from a script given beforehand.
#include <string>
#include <vector>

#include "platform/Interaction.h"

struct ShownMessage {
  HWND owner;
  std::string text;
  std::string title;
  UINT style;
};

class ScriptedInteraction final : public Interaction {
 public:
  void ShowMessage(HWND owner, const std::string& text, const std::string& title, UINT style) override {
    messages.push_back({owner, text, title, style});
  }
  void OpenWebPage(const std::string& address) override { webPages.push_back(address); }
  void RevealInFolder(const std::string& path) override { revealedPaths.push_back(path); }

  std::vector<ShownMessage> messages;
  std::vector<std::string> webPages;
  std::vector<std::string> revealedPaths;
};
