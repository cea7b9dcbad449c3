#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include "app/capturecommands.h"
#include "capture/capture.h"
#include "capture/clipboardretry.h"
#include "capture/pause.h"
#include "tests/doubles/doubles.h"
#include "tests/doubles/tempdir.h"

namespace pw {
namespace {

using test::CallLog;
using test::FakeCaptureWindow;
using test::FakeDesktop;

class CaptureTest : public ::testing::Test {
 protected:
  FakeDesktop desk;
  FakeCaptureWindow window;
  void choose(int option) { window.options[option - 1] = true; }
};

TEST_F(CaptureTest, EachBrowserRunsTheSameStepsWithItsTitle) {
  const char* titles[] = {"Internet Explorer", "Google Chrome", "Firefox"};
  for (int option = 1; option <= 3; ++option) {
    FakeDesktop d;
    FakeCaptureWindow w;
    w.options[option - 1] = true;
    d.browserCopies(u"page");
    PushButton2_Click(d.services, w);
    EXPECT_EQ(d.log, (CallLog{"clipboard get", "clipboard clear", std::string("activate ") + titles[option - 1],
                              "keys ^a", "keys ^c", "clipboard get", "topmost 69206017", "clipboard set"}));
    EXPECT_TRUE(d.messages.shown.empty());
  }
}

TEST_F(CaptureTest, WithNoBrowserChosenOnlyTheClipboardIsTouched) {
  desk.clipboard.content = u"user's text";
  window.text1_ = u"kept";
  PushButton2_Click(desk.services, window);
  EXPECT_EQ(desk.log, (CallLog{"clipboard get", "clipboard clear", "clipboard set"}));
  EXPECT_EQ(window.text1_, u"kept");
  EXPECT_EQ(window.text1Assignments, 0);
  EXPECT_EQ(desk.clipboard.content, Text(u"user's text"));
}

TEST_F(CaptureTest, TextBoxGetsACarriageReturnThenEachCaptureAndTheClipboardComesBack) {
  choose(3);
  desk.clipboard.content = u"user's text";
  desk.browserCopies(u"A\r\nline two\n");
  PushButton2_Click(desk.services, window);
  desk.browserCopies(u"B");
  PushButton2_Click(desk.services, window);
  EXPECT_EQ(window.text1_, u"\rA\r\nline two\n\rB");
  EXPECT_EQ(desk.clipboard.content, Text(u"user's text"));
}

TEST_F(CaptureTest, AClipboardWithoutTextIsRestoredAsEmptyText) {
  choose(1);
  desk.browserCopies(u"page");
  PushButton2_Click(desk.services, window);
  EXPECT_EQ(desk.clipboard.content, Text(u""));
}

TEST_F(CaptureTest, FileGetsEachCaptureWithALineBreakAndKeepsThePageOnTheClipboard) {
  test::TempDir dir;
  choose(2);
  window.text2_ = fromUtf8(dir / "out.txt");
  desk.browserCopies(u"A");
  PushButton4_Click(desk.services, window);
  desk.browserCopies(u"B");
  PushButton4_Click(desk.services, window);
  EXPECT_EQ(test::readBytes(dir / "out.txt"), "A\r\nB\r\n");
  EXPECT_EQ(desk.clipboard.content, Text(u"B"));
}

TEST_F(CaptureTest, AnEmptyPathIsRefusedBeforeAnythingHappens) {
  choose(3);
  PushButton4_Click(desk.services, window);
  EXPECT_EQ(desk.log, (CallLog{"box 0"}));
  EXPECT_EQ(desk.messages.shown[0].prompt, u"You forgot to input file.");
  EXPECT_EQ(desk.messages.shown[0].title, std::nullopt);
}

TEST_F(CaptureTest, AMissingWindowIsReportedOnceAndTheCaptureCarriesOn) {
  choose(2);
  desk.automation.missingWindows = {u"Google Chrome"};
  PushButton2_Click(desk.services, window);
  EXPECT_EQ(desk.messages.reportedLines(), (std::vector{126}));
  EXPECT_EQ(window.text1_, u"\r");
  EXPECT_EQ(desk.log.back(), "clipboard set");
  EXPECT_NE(std::find(desk.log.begin(), desk.log.end(), "topmost 69206017"), desk.log.end());
  // No slow-browser wait after a failed activation: the four pauses alone.
  EXPECT_LT(desk.events.now - 40000.0, 0.45);
}

TEST_F(CaptureTest, LineNumbersFollowTheBrowserAndTheCommand) {
  struct Case {
    int option;
    bool fileCommand;
    std::vector<int> lines;
  };
  const Case cases[] = {
      {1, false, {106, 110, 114}}, {2, false, {126, 130, 134}}, {3, false, {146, 150, 154}},
      {1, true, {112, 116, 120}},  {2, true, {132, 136, 140}},  {3, true, {152, 156, 160}},
  };
  for (const Case& c : cases) {
    FakeDesktop d;
    FakeCaptureWindow w;
    w.options[c.option - 1] = true;
    w.text2_ = u"/nonexistent-folder/out.txt";
    for (const char16_t* title : {u"Internet Explorer", u"Google Chrome", u"Firefox"}) d.automation.missingWindows.insert(title);
    d.automation.failingKeys = {u"^a", u"^c"};
    c.fileCommand ? PushButton4_Click(d.services, w) : PushButton2_Click(d.services, w);
    std::vector<int> expected = c.lines;
    if (c.fileCommand) expected.push_back(c.lines[0] + 12);  // the append into a missing folder
    EXPECT_EQ(d.messages.reportedLines(), expected) << c.option << c.fileCommand;
  }
}

TEST_F(CaptureTest, AFailedOptionTestRunsThatBrowsersBranch) {
  window.failingOptions = {1};
  choose(3);
  desk.browserCopies(u"x");
  PushButton2_Click(desk.services, window);
  EXPECT_EQ(desk.messages.reportedLines(), (std::vector{104}));
  EXPECT_NE(std::find(desk.log.begin(), desk.log.end(), "activate Internet Explorer"), desk.log.end());
  EXPECT_EQ(std::find(desk.log.begin(), desk.log.end(), "activate Firefox"), desk.log.end());
}

TEST_F(CaptureTest, AFailedPathTestStillCaptures) {
  choose(3);
  window.failText2 = true;
  desk.browserCopies(u"x");
  PushButton4_Click(desk.services, window);
  // Line 106 for the test, then 164 for the delivery, which reads the path again.
  EXPECT_EQ(desk.messages.reportedLines(), (std::vector{106, 164}));
}

TEST_F(CaptureTest, ASlowBrowserIsWaitedForButNotForever) {
  choose(3);
  desk.automation.onKeys = [&](TextView keys) {
    if (keys != u"^c") return;
    const double due = desk.events.now + 0.7;  // a large page in Chromium
    desk.events.everyBatch = [&, due] {
      if (desk.events.now >= due) desk.clipboard.content = u"late page";
    };
  };
  PushButton2_Click(desk.services, window);
  EXPECT_EQ(window.text1_, u"\rlate page");

  FakeDesktop silent;
  FakeCaptureWindow w;
  w.options[2] = true;
  const double start = silent.events.now;
  PushButton2_Click(silent.services, w);
  EXPECT_EQ(w.text1_, u"\r");
  EXPECT_GE(silent.events.now - start, 0.3 + kSlowCopySeconds);
  EXPECT_LT(silent.events.now - start, 0.4 + kSlowCopySeconds + 0.1);

  // When the copy keystroke could not be sent, nothing is coming: no wait.
  FakeDesktop refused;
  refused.automation.failingKeys = {u"^c"};
  const double before = refused.events.now;
  PushButton2_Click(refused.services, w);
  EXPECT_EQ(refused.messages.reportedLines().size(), 1u);
  EXPECT_LT(refused.events.now - before, 0.4 + 0.1);
}

TEST_F(CaptureTest, ACommandClickedDuringAPauseRunsInsideIt) {
  choose(3);
  desk.browserCopies(u"outer");
  FakeCaptureWindow other;
  other.options[0] = true;
  desk.events.pending.push_back([&] {
    desk.log.push_back("nested start");
    PushButton2_Click(desk.services, other);
    desk.log.push_back("nested end");
  });
  PushButton2_Click(desk.services, window);
  auto nested = std::find(desk.log.begin(), desk.log.end(), "nested start");
  ASSERT_NE(nested, desk.log.end());
  EXPECT_EQ(*std::prev(nested), "activate Firefox");
  EXPECT_EQ(std::find(nested, desk.log.end(), "activate Internet Explorer") < std::find(nested, desk.log.end(), "nested end"), true);
  EXPECT_EQ(window.text1_, u"\router");
}

// Each fault of the output file gives one report at the delivery, leaves the file as it was and
// the page on the clipboard.
TEST_F(CaptureTest, OutputFileFaultsAreReportedOnceAndLoseNothing) {
  test::TempDir dir;
  test::writeBytes(dir / "full.txt", "kept\r\n");
  std::filesystem::create_directory(dir / "folder");
  const std::string longName = dir / std::string(300, 'n');
  test::NotFiles notFiles(dir.path());
  const std::string cases[] = {dir / "missing/out.txt", dir / "folder", longName, dir / "full.txt",
                               notFiles.pipe, notFiles.device, notFiles.socket};
  for (const std::string& path : cases) {
    FakeDesktop d;
    FakeCaptureWindow w;
    w.options[2] = true;
    w.text2_ = fromUtf8(path);
    d.browserCopies(Text(10000, u'p'));
    {
      std::optional<test::FileSizeLimit> full;
      if (path == dir / "full.txt") full.emplace(4096);
      PushButton4_Click(d.services, w);
    }
    EXPECT_EQ(d.messages.reportedLines(), (std::vector{164})) << path;
    EXPECT_EQ(d.clipboard.content, Text(10000, u'p'));
  }
  EXPECT_EQ(test::readBytes(dir / "full.txt"), "kept\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  EXPECT_TRUE(std::filesystem::is_empty(dir / "folder"));
  EXPECT_FALSE(notFiles.blocked);
}

TEST(ClipboardRetry, StopsAtTheFirstSuccessAndGivesUpAfterExactly1000) {
  CallLog log;
  test::FakeClipboard clipboard(log);
  clipboard.content = u"text";
  clipboard.refusals = 3;
  EXPECT_EQ(ClipboardGetText(clipboard, 0), u"text");
  EXPECT_EQ(clipboard.attempts, 4);

  clipboard.attempts = 0;
  clipboard.refusals = 5000;
  EXPECT_EQ(ClipboardGetText(clipboard, 0), u"");
  EXPECT_EQ(clipboard.attempts, 1000);
  clipboard.attempts = 0;
  EXPECT_FALSE(ClipboardSetText(clipboard, u"new", 0));
  EXPECT_EQ(clipboard.attempts, 1000);
  EXPECT_EQ(clipboard.content, Text(u"text"));
  clipboard.attempts = 0;
  ClipboardClear(clipboard);
  EXPECT_EQ(clipboard.attempts, 1000);
  EXPECT_EQ(clipboard.content, Text(u"text"));
}

TEST(ClipboardRetry, FormatZeroIsPassedAsNoFormat) {
  CallLog log;
  test::FakeClipboard clipboard(log);
  EXPECT_TRUE(ClipboardSetText(clipboard, u"a", 0));
  EXPECT_TRUE(ClipboardSetText(clipboard, u"a", 13));
  ClipboardGetText(clipboard, 0);
  ClipboardGetText(clipboard, 1);
  EXPECT_EQ(clipboard.formats, (std::vector<std::optional<int>>{std::nullopt, 13, std::nullopt, 1}));
}

TEST(Pause, WaitsAtLeastTheTimeAcrossMidnight) {
  CallLog log;
  test::FakeEventPump events(log);
  events.now = 86399.95;
  Pause(events, 0.1);
  EXPECT_GE(events.now, 0.05);
  EXPECT_LT(events.now, 1.0);
}

TEST(Pause, AWaitThatIsOverRunsNoEvents) {
  CallLog log;
  test::FakeEventPump events(log);
  Pause(events, 0);
  Pause(events, -1);
  EXPECT_EQ(events.batches, 0);
  Pause(events, 0.1);
  EXPECT_GT(events.batches, 0);
}

}  // namespace
}  // namespace pw
