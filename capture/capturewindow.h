#pragma once
// What the capture commands need of the main window.
#include "platform/text.h"
#include "platform/windowautomation.h"

namespace pw {

class CaptureWindow {
 public:
  virtual ~CaptureWindow() = default;
  // The value of Option1, Option2 or Option3 (`number` 1 to 3).
  virtual bool option(int number) = 0;
  virtual Text text1() = 0;
  virtual void setText1(TextView text) = 0;
  // Text1 becomes its text followed by `suffix`, in one assignment. A window that holds a large
  // text appends without copying it.
  virtual void appendText1(TextView suffix) { setText1(text1() + Text(suffix)); }
  virtual Text text2() = 0;
  virtual WindowHandle handle() = 0;
};

}  // namespace pw
