// The collecting text box keeps its text exactly through display, typing, pasting and copying.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextCursor>
#include <random>

#include "app/qt/exacttextedit.h"
#include "platform/qtext/qtext.h"
#include "tests/doubles/textunits.h"

namespace pw {
namespace {

using test::displayPosition;
using test::join;
using test::units;

Text randomText(std::mt19937& rng, int length) {
  static const Text pieces[] = {u"a", u"Ж", u" ", u"\r", u"\n", u"\r\n", u"\u2028", u"\u2029", u"\u00A0",
                                Text(1, u'\0'), u"\U0001F600", u"\t", u"z"};
  Text t;
  for (int i = 0; i < length; ++i) t += pieces[rng() % std::size(pieces)];
  return t;
}

TEST(Text1, AssignedTextComesBackExactly) {
  ExactTextEdit box;
  std::mt19937 rng(11);
  for (int round = 0; round < 200; ++round) {
    const Text text = randomText(rng, static_cast<int>(rng() % 30));
    box.setExactText(text);
    ASSERT_EQ(box.exactText(), text);
    ASSERT_EQ(box.document()->characterCount() - 1, displayPosition(units(text), units(text).size()));
  }
}

TEST(Text1, AppendingKeepsWhatWasThereAndRaisesOneChange) {
  ExactTextEdit box;
  int changes = 0;
  QObject::connect(&box, &ExactTextEdit::exactTextChanged, [&] { ++changes; });
  box.setExactText(u"\rA\r");
  box.setExactText(u"\rA\r\nB");  // the new text turns the old lone CR into CR LF
  box.setExactText(u"\rA\r\nB\rC\u2028");
  box.setExactText(u"\rA\r\nB\rC\u2028");  // the same text is no change
  EXPECT_EQ(box.exactText(), u"\rA\r\nB\rC\u2028");
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(box.document()->blockCount(), 4);
}

TEST(Text1, ALargeTextIsShownPieceByPieceAndStaysExact) {
  ExactTextEdit box;
  Text large;
  while (large.size() < 1024 * 1024) large += u"line with Ж\r\nand a lone CR\r";
  box.setExactText(large);
  EXPECT_EQ(box.exactText(), large);
  EXPECT_TRUE(box.isReadOnly());  // the view is still filling
  EXPECT_TRUE(QTest::qWaitFor([&] { return !box.isReadOnly(); }, 30000));
  EXPECT_EQ(box.document()->characterCount() - 1, displayPosition(units(large), units(large).size()));

  // A capture that arrives while the view fills waits for it.
  box.setExactText(u"x");
  box.setExactText(large);
  box.appendExactText(u"\rcapture");
  EXPECT_FALSE(box.isReadOnly());
  EXPECT_EQ(box.exactText(), large + u"\rcapture");
  box.selectAll();
  box.copy();
  EXPECT_EQ(fromQString(QGuiApplication::clipboard()->text()), large + u"\rcapture");
}

TEST(Text1, RandomEditsChangeOnlyWhatTheyEdit) {
  std::mt19937 rng(5);
  ExactTextEdit box;
  box.show();
  for (int round = 0; round < 20; ++round) {
    std::vector<Text> model = units(randomText(rng, 20));
    box.setExactText(join(model));
    for (int edit = 0; edit < 30; ++edit) {
      const std::size_t at = rng() % (model.size() + 1);
      QTextCursor cursor = box.textCursor();
      cursor.setPosition(displayPosition(model, at));
      box.setTextCursor(cursor);
      switch (rng() % 4) {
        case 0:
          QTest::keyClick(&box, Qt::Key_X);
          model.insert(model.begin() + static_cast<long>(at), u"x");
          break;
        case 1:
          QTest::keyClick(&box, Qt::Key_Return);
          model.insert(model.begin() + static_cast<long>(at), u"\r\n");
          break;
        case 2:
          QTest::keyClick(&box, Qt::Key_Backspace);
          if (at > 0) model.erase(model.begin() + static_cast<long>(at) - 1);
          break;
        default:
          QTest::keyClick(&box, Qt::Key_Delete);
          if (at < model.size()) model.erase(model.begin() + static_cast<long>(at));
          break;
      }
      ASSERT_EQ(box.exactText(), join(model)) << "round " << round << " edit " << edit;
    }
  }
}

TEST(Text1, ACrAndAnLfBroughtTogetherBecomeOneLineBreak) {
  ExactTextEdit box;
  box.setExactText(u"a\rx\nb");
  QTextCursor cursor = box.textCursor();
  cursor.setPosition(2);  // after "a", the break, before "x"
  box.setTextCursor(cursor);
  QTest::keyClick(&box, Qt::Key_Delete);
  EXPECT_EQ(box.exactText(), u"a\r\nb");
  EXPECT_EQ(box.document()->blockCount(), 2);
  QTest::keyClick(&box, Qt::Key_End);
  QTest::keyClick(&box, Qt::Key_Y);
  EXPECT_EQ(box.exactText(), u"a\r\nby");
}

TEST(Text1, PasteKeepsTheClipboardTextAndCopyGivesTheExactSelection) {
  ExactTextEdit box;
  box.setExactText(u"one\rtwo\r\nthree");
  QTextCursor cursor = box.textCursor();
  cursor.setPosition(3);
  cursor.setPosition(8, QTextCursor::KeepAnchor);  // "\rtwo\r\n" on screen: break, t, w, o, break
  box.setTextCursor(cursor);
  QGuiApplication::clipboard()->setText(toQString(u"A\rB\u2028C\r\n"));
  box.paste();
  EXPECT_EQ(box.exactText(), u"oneA\rB\u2028C\r\nthree");

  cursor.setPosition(0);
  cursor.setPosition(6, QTextCursor::KeepAnchor);
  box.setTextCursor(cursor);
  box.copy();
  EXPECT_EQ(fromQString(QGuiApplication::clipboard()->text()), u"oneA\rB");
}

}  // namespace
}  // namespace pw
