// A UserSeams that records what the code under test showed the user and
// answers questions from a queue (No when the queue is empty). Installed for
// the lifetime of the object.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/user_seams.h"

namespace zs::test {

class RecordingUser final : public UserSeams {
 public:
  RecordingUser() : previous_(SetUserSeams(this)) {}
  ~RecordingUser() override { SetUserSeams(previous_); }

  void ShowNote(const std::string& text) override {
    notes.push_back(text);
    events.push_back("note:" + text);
  }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    events.push_back("ask:" + text);
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  void WaitCursor(bool on) override {
    wait_cursor_on = on;
    events.push_back(on ? "wait:on" : "wait:off");
  }
  void Beep(unsigned type) override {
    beeps.push_back(type);
    events.push_back("beep");
  }

  std::vector<std::string> notes;
  std::vector<std::string> questions;
  std::deque<bool> answers;
  std::vector<unsigned> beeps;
  std::vector<std::string> events;  // everything above, in order
  bool wait_cursor_on = false;

 private:
  UserSeams* previous_;
};

}  // namespace zs::test
