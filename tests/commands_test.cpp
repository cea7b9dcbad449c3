// The smaller commands of the window and its pointer feedback, with the services doubled.
#include <gtest/gtest.h>

#include <QTextCursor>
#include <deque>

#include "addresses.h"
#include "app/commands.h"
#include "app/exacttextedit.h"
#include "app/form1.h"
#include "tests/doubles/dispatchdouble.h"
#include "tests/doubles/doubles.h"
#include "tests/doubles/tempdir.h"

namespace pw {
namespace {

using test::FakeDesktop;
using test::RecordingDispatch;

class CommandsTest : public ::testing::Test {
 protected:
  CommandsTest() {
    auto dialogDouble = std::make_unique<RecordingDispatch>();
    dialog = dialogDouble.get();
    // Each showing "saves" the next name the test queued; "" is a cancel.
    dialog->onCall = [this](int id, Invoke) {
      if (id == 31 && !names.empty()) {
        dialog->properties[1] = names.front();
        names.pop_front();
      }
    };
    form = std::make_unique<Form1>(desk.services, std::make_unique<RecordingDispatch>(), std::move(dialogDouble));
  }
  int showings() const {
    return static_cast<int>(std::count_if(dialog->calls.begin(), dialog->calls.end(), [](auto& c) { return c.id == 31; }));
  }

  FakeDesktop desk;
  test::TempDir dir;
  RecordingDispatch* dialog;
  std::deque<Text> names;
  std::unique_ptr<Form1> form;
};

TEST_F(CommandsTest, ANewFileNameIsTakenWithoutAQuestionAndNotCreated) {
  names = {fromUtf8(dir / "new")};
  PushButton6_Click(desk.services, *form);
  EXPECT_EQ(form->text2(), fromUtf8(dir / "new"));
  EXPECT_TRUE(desk.messages.shown.empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "new"));
  EXPECT_EQ(desk.settings.values[u"Text2"], fromUtf8(dir / "new"));
  // Each showing sets the four properties first, in this order.
  std::vector<int> ids;
  for (const auto& call : dialog->calls) ids.push_back(call.id);
  EXPECT_EQ(ids, (std::vector{1, 7, 2, 3, 31, 1, 1}));
  EXPECT_EQ(dialog->calls[1].args, std::vector<Variant>{std::int32_t{0x280201}});
  EXPECT_EQ(dialog->calls[3].args, std::vector<Variant>{Text(u"New Text File (*.txt)|*.txt|")});
}

TEST_F(CommandsTest, AnExistingFileIsAskedAboutAndNoShowsTheDialogAgain) {
  test::writeBytes(dir / "old.txt", "x");
  names = {fromUtf8(dir / "old.txt"), fromUtf8(dir / "old.txt")};
  desk.messages.answers = {mb::AnswerNo, mb::AnswerYes};
  PushButton6_Click(desk.services, *form);
  EXPECT_EQ(showings(), 2);
  ASSERT_EQ(desk.messages.shown.size(), 2u);
  EXPECT_EQ(desk.messages.shown[0].prompt, kOverwriteQuestion);
  EXPECT_EQ(desk.messages.shown[0].style, mb::YesNo);
  EXPECT_EQ(desk.messages.shown[0].title, std::nullopt);
  EXPECT_EQ(form->text2(), fromUtf8(dir / "old.txt"));
  EXPECT_EQ(test::readBytes(dir / "old.txt"), "x");
}

TEST_F(CommandsTest, CancelEmptiesThePath) {
  form->setText2(u"/somewhere/out.txt");
  names = {u""};
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
  QTextCursor cursor = form->text1Box()->textCursor();
  cursor.setPosition(1);
  cursor.setPosition(3, QTextCursor::KeepAnchor);
  form->text1Box()->setTextCursor(cursor);
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
