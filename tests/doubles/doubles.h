#pragma once
// Recording doubles of the desktop services. Every double writes what it was asked into one
// shared call log, so a test sees the order of calls across services.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "capture/capturewindow.h"
#include "platform/runtimeerror.h"
#include "platform/services.h"

namespace pw::test {

using CallLog = std::vector<std::string>;

class RecordingAutomation final : public WindowAutomation {
 public:
  explicit RecordingAutomation(CallLog& log) : log_(log) {}
  void activate(TextView title) override;
  void sendKeys(TextView keys) override;

  std::set<Text> missingWindows;      // titles that activate() does not find
  std::set<Text> failingKeys;         // keystrokes that sendKeys() refuses
  std::function<void(TextView keys)> onKeys;  // plays the browser's part

 private:
  CallLog& log_;
};

class RecordingStacking final : public WindowStacking {
 public:
  explicit RecordingStacking(CallLog& log) : log_(log) {}
  void makeTopmost(WindowHandle window) override;

 private:
  CallLog& log_;
};

// A clipboard that can refuse a number of attempts, like one held by another program.
class FakeClipboard final : public Clipboard {
 public:
  explicit FakeClipboard(CallLog& log) : log_(log) {}
  void clear() override;
  void setText(TextView text, std::optional<int> format) override;
  Text text(std::optional<int> format) override;
  bool hasText() override { return content.has_value(); }

  std::optional<Text> content;  // none: no text on the clipboard
  int refusals = 0;             // the next attempts that fail, of any operation
  int attempts = 0;
  std::vector<std::optional<int>> formats;  // the format argument of each attempt

 private:
  void attempt(const char* what, std::optional<int> format);
  CallLog& log_;
};

// A clock that only moves when events are processed, with hooks that run "events".
class FakeEventPump final : public EventPump {
 public:
  explicit FakeEventPump(CallLog& log) : log_(log) {}
  double timer() override { return now; }
  void doEvents() override;
  void processEventsFor(double seconds) override;

  double now = 40000.0;
  double tick = 0.004;  // how far the clock moves per batch of events
  int batches = 0;
  std::deque<std::function<void()>> pending;  // events that run at the next batch
  std::function<void()> everyBatch;

 private:
  void runBatch(double advance);
  CallLog& log_;
};

class MemorySettingsStore final : public SettingsStore {
 public:
  Text get(TextView app, TextView section, TextView key, TextView fallback) override;
  void save(TextView app, TextView section, TextView key, TextView value) override;
  Text setAside(TextView app, TextView section, TextView key) override;
  std::map<Text, Text> values;  // by key; application and section must be ours
  int saves = 0;
  bool failSaves = false;
};

struct ShownBox {
  Text prompt;
  int style;
  std::optional<Text> title;
};

class RecordingMessageBoxes final : public MessageBoxes {
 public:
  explicit RecordingMessageBoxes(CallLog& log) : log_(log) {}
  int show(TextView prompt, int style, std::optional<Text> title) override;
  // The line numbers the error reports named, in order.
  std::vector<int> reportedLines() const;
  std::vector<ShownBox> shown;
  std::deque<int> answers;  // answers to give, then OK / No

 private:
  CallLog& log_;
};

// Gives the answers it was handed, then cancels; keeps every request.
class ScriptedSaveDialog final : public SaveDialog {
 public:
  std::optional<Text> show(const SaveDialogRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<SaveDialogRequest> requests;
  std::deque<std::optional<Text>> answers;
};

class FakeApplication final : public Application {
 public:
  Text path() override { return folder; }
  Text title() override { return title_; }
  void setTitle(TextView title) override { title_ = title; }
  WindowHandle mainWindow() override { return mainWindow_; }
  void setMainWindow(WindowHandle window) override { mainWindow_ = window; }
  [[noreturn]] void end() override { throw Ended{}; }
  Picture loadPicture(TextView path) override;
  void openAddress(TextView address) override;

  struct Ended {};
  Text folder = u"/opt/pagewick";
  std::vector<Text> opened;
  bool failPictures = false;
  bool failOpen = false;

 private:
  Text title_ = u"Pagewick";
  WindowHandle mainWindow_ = 0;
};

class FakeRandom final : public Random {
 public:
  void randomize(double seed) override { seeds.push_back(seed); }
  double next() override { return value; }
  std::vector<double> seeds;
  double value = 0.5;
};

class FakeFiles;

// The window model the capture commands work on.
class FakeCaptureWindow final : public CaptureWindow {
 public:
  bool option(int number) override;
  Text text1() override { return text1_; }
  void setText1(TextView text) override { text1_ = text; ++text1Assignments; }
  Text text2() override;
  WindowHandle handle() override { return 0x4200001; }

  bool options[3] = {false, false, false};
  std::set<int> failingOptions;
  bool failText2 = false;
  Text text1_;
  Text text2_;
  int text1Assignments = 0;
};

// All doubles wired into one Services bundle; files are real, in the caller's folders.
struct FakeDesktop {
  FakeDesktop();
  CallLog log;
  RecordingAutomation automation{log};
  RecordingStacking stacking{log};
  FakeClipboard clipboard{log};
  FakeEventPump events{log};
  MemorySettingsStore settings;
  RecordingMessageBoxes messages{log};
  ScriptedSaveDialog saveDialog;
  std::unique_ptr<Files> files;
  FakeApplication app;
  FakeRandom random;
  Services services{automation, stacking, clipboard, events, settings, messages, saveDialog, *files, app, random};

  // Ctrl+C puts `page` on the clipboard, as a browser would.
  void browserCopies(Text page);
};

std::string narrow(TextView text);

}  // namespace pw::test
