#include <gtest/gtest.h>

#include "addresses.h"
#include "errors/procedure.h"
#include "platform/runtimeerror.h"
#include "tests/doubles/doubles.h"

namespace pw {
namespace {

using test::CallLog;
using test::RecordingMessageBoxes;

[[noreturn]] void fail(const char16_t* why) { throw RuntimeError(err::PathFileAccess, why); }

TEST(ErrorReport, PromptHasTheExactPiecesAndBreaks) {
  EXPECT_EQ(errorReportPrompt(u"File not found", u"in Tolvane2021/08/31.Form1.PushButton3_Click ", 106),
            Text(u"File not found\r\nin Tolvane2021/08/31.Form1.PushButton3_Click at line 106\r\r"
                 u"Please email screenshot of this message to ") + addresses::kSupportEmail);
  EXPECT_TRUE(errorReportPrompt(u"", u"x ", 100).starts_with(u"\r\nx at line 100\r\r"));
}

TEST(ErrorReport, EachFailingStepGivesOneBoxAndTheHandlerGoesOn) {
  CallLog log;
  RecordingMessageBoxes boxes(log);
  Procedure p(boxes, "PushButton1_Click");
  std::vector<int> ran;
  p.step(100, [&] { fail(u"first"); });
  p.step(102, [&] { ran.push_back(102); });
  p.step(104, [&] { fail(u"second"); });
  p.step(106, [&] { ran.push_back(106); });
  EXPECT_EQ(ran, (std::vector{102, 106}));
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_TRUE(boxes.shown[0].prompt.starts_with(u"first\r\nin Tolvane2021/08/31.Form1.PushButton1_Click at line 100\r\r"));
  EXPECT_TRUE(boxes.shown[1].prompt.starts_with(u"second\r\nin Tolvane2021/08/31.Form1.PushButton1_Click at line 104\r\r"));
  EXPECT_EQ(boxes.shown[0].style, 48);
  EXPECT_EQ(boxes.shown[0].title, Text(u"Application Error"));
}

TEST(ErrorReport, AFailedTestCountsAsHolding) {
  CallLog log;
  RecordingMessageBoxes boxes(log);
  Procedure p(boxes, "PushButton3_Click");
  EXPECT_TRUE(p.test(100, []() -> bool { fail(u"unreadable"); }));
  EXPECT_FALSE(p.test(102, [] { return false; }));
  EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST(ErrorReport, AFailureDeepInACallIsReportedAtTheCallingStep) {
  CallLog log;
  RecordingMessageBoxes boxes(log);
  Procedure p(boxes, "Form_Load");
  const auto inner = [] { fail(u"deep"); };
  const auto outer = [&] { inner(); };
  p.step(128, outer);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].prompt.find(u"Form_Load at line 128\r\r"), Text::npos);
}

TEST(ErrorReport, OtherFailuresAreReportedToo) {
  CallLog log;
  RecordingMessageBoxes boxes(log);
  Procedure p(boxes, "PushButton5_Click");
  p.step(106, [] { throw std::bad_alloc(); });
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_TRUE(boxes.shown[0].prompt.starts_with(u"Out of memory\r\n"));
}

}  // namespace
}  // namespace pw
