// A host for tests: records everything shown, answers questions from a script and turns
// the end of the process into an exception the test can catch.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"

namespace tsn::test {

// Thrown by RecordingHost::end_process in place of ending the test process.
struct ProcessEnded {
  int status;
};

struct RecordedBox {
  std::string caption;
  std::string text;
  Icon icon;
  Buttons buttons;
  Answer default_answer;
};

class RecordingHost final : public Host {
 public:
  // Everything shown, in order: "status:<text>", "box:<caption>", "beep", "clear",
  // "dialog_error:<text>", "progress_show", "progress:<n>", "progress_hide", "busy", "end:<n>".
  std::vector<std::string> events;
  std::vector<std::string> status;  // each status_append text as given
  std::vector<RecordedBox> boxes;
  std::vector<Icon> beeps;
  std::vector<int> progress;  // values passed to progress_set
  int busy_calls = 0;
  int status_clears = 0;

  // Answers for the next questions; when empty the default button is taken.
  std::deque<Answer> answers;
  // Results of the next poll_cancel calls; false when empty.
  std::deque<bool> cancel_requests;
  // Called at every poll_cancel, before its answer: what a test does while a conversion runs.
  std::function<void()> on_poll;

  std::string status_text() const {
    std::string all;
    for (const std::string& s : status) all += s;
    return all;
  }

  void status_append(std::string_view text) override {
    status.emplace_back(text);
    events.push_back("status:" + std::string(text));
  }
  void status_clear() override {
    ++status_clears;
    events.emplace_back("clear");
  }
  Answer message_box(std::string_view caption, std::string_view text, Icon icon, Buttons buttons,
                     Answer default_answer) override {
    boxes.push_back({std::string(caption), std::string(text), icon, buttons, default_answer});
    events.push_back("box:" + std::string(caption));
    if (answers.empty()) return default_answer;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void beep(Icon kind) override {
    beeps.push_back(kind);
    events.emplace_back("beep");
  }
  void dialog_error(int, std::string_view text) override {
    events.push_back("dialog_error:" + std::string(text));
  }
  void progress_show() override { events.emplace_back("progress_show"); }
  void progress_set(int percent) override {
    progress.push_back(percent);
    events.push_back("progress:" + std::to_string(percent));
  }
  void progress_hide() override { events.emplace_back("progress_hide"); }
  bool poll_cancel() override {
    events.emplace_back("poll");
    if (on_poll) on_poll();
    if (cancel_requests.empty()) return false;
    const bool cancel = cancel_requests.front();
    cancel_requests.pop_front();
    return cancel;
  }
  void set_busy(bool busy) override {
    if (busy) ++busy_calls;
    events.emplace_back(busy ? "busy" : "idle");
  }
  [[noreturn]] void end_process(int status_code) override {
    events.push_back("end:" + std::to_string(status_code));
    throw ProcessEnded{status_code};
  }
};

// Installs a host for the lifetime of the guard, then puts the console host back.
class ScopedHost {
 public:
  explicit ScopedHost(Host& h) { set_host(&h); }
  ~ScopedHost() { set_host(nullptr); }
  ScopedHost(const ScopedHost&) = delete;
  ScopedHost& operator=(const ScopedHost&) = delete;
};

}  // namespace tsn::test
