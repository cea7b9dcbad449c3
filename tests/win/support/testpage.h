#pragma once
// Runs the stand-in browser (test_page.exe, beside the test executable) in its own process.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/text.h"

namespace pw::test {

struct PageOptions {
  bool minimized = false;
  bool hidden = false;
  bool tool = false;
};

class TestPage {
 public:
  // Starts a page window titled `title` showing `text`; returns once the window exists.
  TestPage(TextView title, TextView text, PageOptions options = {});
  ~TestPage();
  TestPage(const TestPage&) = delete;
  TestPage& operator=(const TestPage&) = delete;

  HWND window() const { return window_; }

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  std::wstring textFile_;
};

// Another process that holds the clipboard open for `ms`; returns once it holds it.
class ClipboardHolder {
 public:
  explicit ClipboardHolder(int ms);
  ~ClipboardHolder();
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;

 private:
  PROCESS_INFORMATION process_{};
};

// Polls `done` every 10 ms for up to `ms`; for waits on other processes' windows and dialogs.
bool waitFor(int ms, const std::function<bool()>& done);

// The visible dialog boxes (class "#32770") titled `title` that our process shows.
std::vector<HWND> ourDialogs(TextView title);

// A unique temporary folder, removed with its contents at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  Text path() const { return path_; }
  Text file(TextView name) const { return path_ + u"\\" + Text(name); }

 private:
  Text path_;
};

}  // namespace pw::test
