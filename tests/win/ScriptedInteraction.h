#pragma once
// Stands in for the user in tests: records what a command showed or asked for, and answers
// dialogs from a script given beforehand.
#include <deque>
#include <string>
#include <vector>

#include "platform/Interaction.h"

struct ShownMessage {
  HWND owner;
  std::string text;
  std::string title;
  UINT style;
  HCURSOR cursor;  // the cursor while the box was up
};

class ScriptedInteraction final : public Interaction {
 public:
  void ShowMessage(HWND owner, const std::string& text, const std::string& title, UINT style) override {
    messages.push_back({owner, text, title, style, ::GetCursor()});
  }
  void OpenWebPage(const std::string& address) override { webPages.push_back(address); }
  // A dialog with no answer left in its script is cancelled.
  std::string OpenFile(const OpenFileRequest& request) override {
    openRequests.push_back(request);
    return NextAnswer(openAnswers);
  }
  std::string SaveFile(const SaveFileRequest& request) override {
    saveRequests.push_back(request);
    return NextAnswer(saveAnswers);
  }
  void RevealInFolder(const std::string& path) override { revealedPaths.push_back(path); }

  std::vector<ShownMessage> messages;
  std::vector<std::string> webPages;
  std::vector<OpenFileRequest> openRequests;
  std::deque<std::string> openAnswers;
  std::vector<SaveFileRequest> saveRequests;
  std::deque<std::string> saveAnswers;
  std::vector<std::string> revealedPaths;

 private:
  static std::string NextAnswer(std::deque<std::string>& answers) {
    if (answers.empty()) return {};
    std::string answer = std::move(answers.front());
    answers.pop_front();
    return answer;
  }
};
