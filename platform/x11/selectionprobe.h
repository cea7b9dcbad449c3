#pragma once
// Asks the clipboard's owner a cheap question before Qt asks for the text: Qt waits up to 5 s
// for every request it makes, and reading text makes three, so a hung owner froze the window
// for 15 s (measured).
#include <optional>

#include "platform/clipboard.h"
#include "platform/x11/properties.h"

typedef struct _XDisplay Display;

namespace pw::x11 {

enum class OwnerState { NoOwner, Answers, Silent };

class SelectionProbe {
 public:
  // An owner that has not answered within `answerMs` counts as silent.
  explicit SelectionProbe(int answerMs = kOwnerAnswerMs);
  ~SelectionProbe();
  SelectionProbe(const SelectionProbe&) = delete;
  SelectionProbe& operator=(const SelectionProbe&) = delete;

  // The state of CLIPBOARD's owner, which must not be this program (it cannot answer while it
  // waits here). A silent owner stays silent without a new wait, so that the clipboard
  // routines' repeated attempts do not each wait again, until it answers late or the clipboard
  // changes hands.
  OwnerState clipboardOwner();

 private:
  Display* display_ = nullptr;
  unsigned long window_ = 0;
  std::optional<Atoms> atoms_;
  int answerMs_;
  bool answered(int waitMs);
  unsigned long silentOwner_ = 0;
};

}  // namespace pw::x11
