#pragma once
// Stands in for the user in tests: records what a command showed or asked for, and answers
// dialogs from a script given beforehand.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Interaction.h"

struct AskedQuestion {
  std::string prompt;
  std::string title;
};

struct StartedProgram {
  std::string path;
  std::string commandLine;
};

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
    steps.push_back("message");
  }
  void OpenWebPage(const std::string& address) override {
    webPages.push_back(address);
    steps.push_back("web page");
  }
  // A dialog with no answer left in its script is cancelled.
  std::string OpenFile(const OpenFileRequest& request) override {
    openRequests.push_back(request);
    steps.push_back("open dialog");
    return NextAnswer(openAnswers);
  }
  std::string SaveFile(const SaveFileRequest& request) override {
    saveRequests.push_back(request);
    steps.push_back("save dialog");
    return NextAnswer(saveAnswers);
  }
  std::string AskForNumber(const std::string& prompt, const std::string& title) override {
    questions.push_back({prompt, title});
    steps.push_back("ask");
    if (whenAsked) whenAsked();
    return NextAnswer(numberAnswers);
  }
  bool StartProgram(const std::string& path, const std::string& commandLine) override {
    startedPrograms.push_back({path, commandLine});
    steps.push_back("start");
    return true;
  }
  void EndProcess() override { steps.push_back("end"); }
  void RevealInFolder(const std::string& path) override {
    revealedPaths.push_back(path);
    steps.push_back("reveal");
  }

  std::vector<ShownMessage> messages;
  std::vector<std::string> webPages;
  std::vector<OpenFileRequest> openRequests;
  std::deque<std::string> openAnswers;
  std::vector<SaveFileRequest> saveRequests;
  std::deque<std::string> saveAnswers;
  std::vector<AskedQuestion> questions;
  std::deque<std::string> numberAnswers;
  std::function<void()> whenAsked;  // run while the input box would be up
  std::vector<StartedProgram> startedPrograms;
  std::vector<std::string> steps;  // every call above in order: "message", "ask", "start", "end"...
  std::vector<std::string> revealedPaths;

 private:
  static std::string NextAnswer(std::deque<std::string>& answers) {
    if (answers.empty()) return {};
    std::string answer = std::move(answers.front());
    answers.pop_front();
    return answer;
  }
};
