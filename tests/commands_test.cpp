// The smaller commands of the window and its pointer feedback, with the services doubled.
#include <gtest/gtest.h>

#include <QTextCursor>
#include <deque>

#include "addresses.h"
#include "app/commands.h"
#include "app/qt/exacttextedit.h"
#include "app/qt/form1.h"
#include "tests/doubles/dispatchdouble.h"
#include "tests/doubles/doubles.h"
#include "tests/doubles/tempdir.h"
#include "tests/support/findcontrol.h"

namespace pw {
namespace {

using test::FakeDesktop;
using test::RecordingDispatch;

// The window's own file dialog control, over a save dialog that answers as the test says.
class CommandsTest : public ::testing::Test {
 protected:
  CommandsTest() : form(std::make_unique<Form1>(desk.services, std::make_unique<RecordingDispatch>())) {}

  FakeDesktop desk;
  test::TempDir dir;
  std::unique_ptr<Form1> form;
};

TEST_F(CommandsTest, ANewFileNameIsTakenWithoutAQuestionAndNotCreated) {
  form->setText2(u"/before/out.txt");
  desk.saveDialog.answers = {fromUtf8(dir / "new")};
  PushButton6_Click(desk.services, *form);
  EXPECT_EQ(form->text2(), fromUtf8(dir / "new"));
  EXPECT_TRUE(desk.messages.shown.empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "new"));
  EXPECT_EQ(desk.settings.values[u"Text2"], fromUtf8(dir / "new"));
  // The dialog is modal over the window, proposes no name and asks nothing itself.
  ASSERT_EQ(desk.saveDialog.requests.size(), 1u);
  const SaveDialogRequest& shown = desk.saveDialog.requests[0];
  EXPECT_EQ(shown.owner, form->handle());
  EXPECT_EQ(shown.title, u"Create a new text file name");
  EXPECT_EQ(shown.filter, u"New Text File (*.txt)|*.txt|");
  EXPECT_EQ(shown.fileName, u"");
  EXPECT_EQ(shown.flags, 0x280201);
  EXPECT_FALSE(shown.flags & kOverwritePrompt);
}

TEST_F(CommandsTest, AnExistingFileIsAskedAboutAndNoShowsTheDialogAgain) {
  test::writeBytes(dir / "old.txt", "x");
  desk.saveDialog.answers = {fromUtf8(dir / "old.txt"), fromUtf8(dir / "old.txt")};
  desk.messages.answers = {mb::AnswerNo, mb::AnswerYes};
  PushButton6_Click(desk.services, *form);
  ASSERT_EQ(desk.saveDialog.requests.size(), 2u);
  EXPECT_EQ(desk.saveDialog.requests[1].fileName, u"") << "each showing starts without a name";
  ASSERT_EQ(desk.messages.shown.size(), 2u);
  EXPECT_EQ(desk.messages.shown[0].prompt, kOverwriteQuestion);
  EXPECT_EQ(desk.messages.shown[0].style, mb::YesNo);
  EXPECT_EQ(desk.messages.shown[0].title, std::nullopt);
  EXPECT_EQ(form->text2(), fromUtf8(dir / "old.txt"));
  EXPECT_EQ(test::readBytes(dir / "old.txt"), "x");
}

TEST_F(CommandsTest, CancelEmptiesThePath) {
  form->setText2(u"/somewhere/out.txt");
  desk.saveDialog.answers = {std::nullopt};
  PushButton6_Click(desk.services, *form);
  EXPECT_EQ(form->text2(), u"");
  EXPECT_EQ(desk.settings.values[u"Text2"], u"");
}

TEST_F(CommandsTest, ClearingAFileAsksFirstAndEmptiesItOnYes) {
  const std::string file = dir / "out.txt";
  test::writeBytes(file, "A\r\nB\r\n");
  form->setText2(fromUtf8(file));
  PushButton3_Click(desk.services, *form);  // answered No
  EXPECT_EQ(test::readBytes(file), "A\r\nB\r\n");
  desk.messages.answers = {mb::AnswerYes};
  PushButton3_Click(desk.services, *form);
  EXPECT_EQ(test::readBytes(file), "");
  EXPECT_EQ(desk.messages.shown[1].prompt, kOverwriteQuestion);
}

TEST_F(CommandsTest, ClearingNothingSaysSoAndCreatesNothing) {
  for (const Text& path : {Text(), fromUtf8(dir / "missing.txt")}) {
    FakeDesktop d;
    Form1 f(d.services, std::make_unique<RecordingDispatch>(), std::make_unique<RecordingDispatch>());
    f.setText2(path);
    PushButton3_Click(d.services, f);
    ASSERT_EQ(d.messages.shown.size(), 1u);
    EXPECT_EQ(d.messages.shown[0].prompt, u"No file specified or file does not exist.");
    EXPECT_EQ(d.messages.shown[0].style, mb::Ok);
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "missing.txt"));
}

TEST_F(CommandsTest, AFileThatCannotBeEmptiedIsReportedAtLine106) {
  std::filesystem::create_directories(dir / "folder.txt");
  form->setText2(fromUtf8(dir / "folder.txt"));
  desk.messages.answers = {mb::AnswerYes};
  PushButton3_Click(desk.services, *form);
  ASSERT_EQ(desk.messages.shown.size(), 2u);
  EXPECT_NE(desk.messages.shown[1].prompt.find(u"PushButton3_Click at line 106\r\r"), Text::npos);
  EXPECT_EQ(desk.messages.shown[1].title, Text(u"Application Error"));
}

TEST_F(CommandsTest, ClearAndCopyWorkOnTheWholeExactText) {
  form->setText1(u"\rone\r\ntwo\rthree\u2028");
  QTextCursor cursor = test::control<ExactTextEdit>(*form, "Text1")->textCursor();
  cursor.setPosition(1);
  cursor.setPosition(3, QTextCursor::KeepAnchor);
  test::control<ExactTextEdit>(*form, "Text1")->setTextCursor(cursor);
  PushButton5_Click(desk.services, *form);
  EXPECT_EQ(desk.clipboard.content, Text(u"\rone\r\ntwo\rthree\u2028"));
  PushButton1_Click(desk.services, *form);
  EXPECT_EQ(form->text1(), u"");
  EXPECT_EQ(desk.settings.values[u"Text1"], u"");
  EXPECT_EQ(desk.clipboard.content, Text(u"\rone\r\ntwo\rthree\u2028"));
  EXPECT_TRUE(desk.messages.shown.empty());
}

TEST_F(CommandsTest, HelpShowsOneBoxWithTheContactAddress) {
  PushButton9_Click(desk.services);
  ASSERT_EQ(desk.messages.shown.size(), 1u);
  EXPECT_EQ(desk.messages.shown[0].prompt, Text(u"Questions? Please contact Team Kelvarin at ") + addresses::kContactPage);
  EXPECT_EQ(desk.messages.shown[0].style, mb::Ok);
  EXPECT_TRUE(desk.app.opened.empty());
}

TEST_F(CommandsTest, PointerFollowsButtonsAndLeavesTheHourglassAlone) {
  PointerMoved(*form, kPointerCustom);
  EXPECT_EQ(form->mousePointer(), kPointerCustom);
  PointerMoved(*form, kPointerDefault);
  EXPECT_EQ(form->mousePointer(), kPointerDefault);
  form->setMousePointer(kPointerHourglass);
  PointerMoved(*form, kPointerCustom);
  PointerMoved(*form, kPointerDefault);
  EXPECT_EQ(form->mousePointer(), kPointerHourglass);
}

}  // namespace
}  // namespace pw
