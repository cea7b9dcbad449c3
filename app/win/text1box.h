#pragma once
// The collecting text box on Windows: a multi-line EDIT control, which gives back every UTF-16
// unit as it was put in. Setting the whole text of a large box takes seconds there (30 s and more
// for 10 M characters under Wine), so the box keeps the exact text itself, shows a new text piece
// by piece from the message loop, read-only meanwhile, and appends at the end with EM_REPLACESEL.
#include <windows.h>

#include <functional>

#include "platform/text.h"

namespace pw::winui {

class Text1Box {
 public:
  // `changed` runs after every change of the exact text, whatever made it.
  Text1Box(HWND edit, std::function<void()> changed);

  const Text& text() const { return exact_; }
  void setText(TextView text);
  void append(TextView suffix);
  bool showing() const { return shown_ < exact_.size(); }

  // From the window procedure: EN_CHANGE from the box, and the timer that shows the next piece.
  void onEditChanged();
  void onTimer();
  static constexpr UINT_PTR kTimer = 1;

 private:
  void showMore();
  void insertAtEnd(TextView text);

  HWND edit_;
  std::function<void()> changed_;
  Text exact_;
  std::size_t shown_ = 0;  // how much of exact_ the control shows
  bool ours_ = false;      // the control is being changed by this class, not by the user
  static constexpr std::size_t kPieceLength = 256 * 1024;
};

}  // namespace pw::winui
