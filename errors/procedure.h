#pragma once
// The error convention of the window's handlers: each step carries a line number; a step that
// fails shows one "Application Error" box naming the handler and the line, and the handler goes
// on with its next step.
#include <exception>
#include <string_view>

#include "platform/messageboxes.h"
#include "platform/text.h"

namespace pw {

// The prompt of the report box.
Text errorReportPrompt(TextView description, TextView label, int line);

class Procedure {
 public:
  // `handler` is the handler's name, e.g. "PushButton2_Click".
  Procedure(MessageBoxes& messages, std::string_view handler);

  // Runs one numbered step. A failure, also one deep inside what the step calls, is reported
  // with this line; then the handler continues after the step.
  template <typename Body>
  void step(int line, Body&& body) {
    line_ = line;
    try {
      body();
    } catch (...) {
      report(std::current_exception());
    }
  }

  // A numbered test. A test that fails counts as holding: the branch it guards runs.
  template <typename Condition>
  bool test(int line, Condition&& condition) {
    bool holds = true;
    step(line, [&] { holds = condition(); });
    return holds;
  }

  const Text& label() const { return label_; }
  int line() const { return line_; }

 private:
  void report(std::exception_ptr failure);

  MessageBoxes& messages_;
  Text label_;
  int line_ = 0;
};

}  // namespace pw
