#pragma once
// Stands in for the user in tests: records what a command showed or asked for, and answers
// dialogs from a script given beforehand.
#include <deque>
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
};

class ScriptedInteraction final : public Interaction {
 public:
  void ShowMessage(HWND owner, const std::string& text, const std::string& title, UINT style) override {
    messages.push_back({owner, text, title, style});
    steps.push_back("message");
  }
  void OpenWebPage(const std::string& address) override {
    webPages.push_back(address);
    steps.push_back("web page");
  }
  // Answers from numberAnswers in turn; an empty queue cancels.
  std::string AskForNumber(const std::string& prompt, const std::string& title) override {
    questions.push_back({prompt, title});
    steps.push_back("ask");
    if (numberAnswers.empty()) return {};
    std::string answer = numberAnswers.front();
    numberAnswers.pop_front();
    return answer;
  }
  bool StartProgram(const std::string& path, const std::string& commandLine) override {
    startedPrograms.push_back({path, commandLine});
    steps.push_back("start");
    return true;
  }
  void EndProcess() override {
    ++processEnds;
    steps.push_back("end");
  }

  std::vector<ShownMessage> messages;
  std::vector<std::string> webPages;
  std::vector<AskedQuestion> questions;
  std::deque<std::string> numberAnswers;
  std::vector<StartedProgram> startedPrograms;
  int processEnds = 0;
  std::vector<std::string> steps;  // every call above in order: "message", "ask", "start", "end"...
};
