// The main window with the desktop services doubled, on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cmath>

#include "app/layout.h"
#include "app/qt/exacttextedit.h"
#include "app/qt/form1.h"
#include "app/qt/pushbutton.h"
#include "app/settings.h"
#include "platform/qt/qtmessageboxes.h"
#include "platform/qtext/qtext.h"
#include "tests/doubles/dispatchdouble.h"
#include "tests/doubles/doubles.h"
#include "tests/support/findcontrol.h"

namespace pw {
namespace {

using test::FakeDesktop;
using test::RecordingDispatch;

class Form1Test : public ::testing::Test {
 protected:
  Form1Test() {
    auto skinDouble = std::make_unique<RecordingDispatch>();
    auto dialogDouble = std::make_unique<RecordingDispatch>();
    skin = skinDouble.get();
    dialog = dialogDouble.get();
    form = std::make_unique<Form1>(desk.services, std::move(skinDouble), std::move(dialogDouble));
  }
  FakeDesktop desk;
  RecordingDispatch* skin;
  RecordingDispatch* dialog;
  std::unique_ptr<Form1> form;
};

// The widget the window made for a layout entry, by the control's name.
QWidget* widgetFor(Form1& form, const layout::Control& c) { return test::control(form, toUtf8(layout::controlName(c))); }

// Every control in its frame, at its place in pixels (15 twips to one at 96 dpi), white where the
// window's rule says so. Two places are pinned, in case the conversion itself goes wrong.
TEST_F(Form1Test, ControlsStandWhereTheLayoutPutsThem) {
  // The scaled runs expect the same logical places, at the scale they name in pixels each.
  const QString scale = qEnvironmentVariable("PAGEWICK_TEST_SCALE", QStringLiteral("1"));
  EXPECT_DOUBLE_EQ(form->devicePixelRatioF(), scale.toDouble());
  EXPECT_EQ(form->size(), QSize(536, 483));
  EXPECT_EQ(test::control<QLineEdit>(*form, "Text2")->geometry(), QRect(72, 20, 384, 23));
  EXPECT_GE(test::control<QLineEdit>(*form, "Text3")->geometry().top(), form->height());
  const auto px = [](int twips) { return static_cast<int>(std::lround(twips / 15.0)); };
  for (const layout::Control& c : layout::kControls) {
    SCOPED_TRACE(QString::fromUtf16(c.caption).toStdString() + " " + std::to_string(c.number));
    QWidget* w = widgetFor(*form, c);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), c.frame ? test::control<QGroupBox>(*form, "Frame", c.frame) : static_cast<QWidget*>(form.get()));
    EXPECT_EQ(w->geometry(), QRect(px(c.at.left), px(c.at.top), px(c.at.width), px(c.at.height)));
    if (layout::startsWhite(c)) {
      EXPECT_EQ(w->palette().color(w->backgroundRole()), QColor(Qt::white));
    }
  }
  EXPECT_EQ(test::control<QPushButton>(*form, "PushButton", 2)->text(), "Copy Browser Text and Append To Text Box");
  EXPECT_EQ(test::control<QPushButton>(*form, "PushButton", 2)->font().pointSizeF(), 11.25);
  EXPECT_TRUE(form->font().bold());
  EXPECT_EQ(form->font().pointSizeF(), 9.0);
}

// The option group is one stop, entered at the chosen browser (or the first when none is), and
// Space there keeps the choice: on a new window and on one that restored a choice.
TEST_F(Form1Test, FocusStartsHiddenAndTabsInTabIndexOrder) {
  for (int chosen : {0, 3, 1}) {
    SCOPED_TRACE("option " + std::to_string(chosen));
    if (chosen) {
      desk.settings.values = {{u"Option1", booleanText(chosen == 1)}, {u"Option2", u"False"},
                              {u"Option3", booleanText(chosen == 3)}};
      form = std::make_unique<Form1>(desk.services, std::make_unique<RecordingDispatch>(),
                                     std::make_unique<RecordingDispatch>());
      form->load();
    }
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), test::control<QLineEdit>(*form, "Text3"));
    QWidget* entered = test::control(*form, "Option", chosen ? chosen : 1);  // the option group's stop
    for (const std::string name : {"PushButton9", "", "Text1", "PushButton2", "PushButton1", "Text2", "PushButton6",
                                   "PushButton4", "PushButton3", "PushButton5", "Text3"}) {
      const QWidget* next = name.empty() ? entered : test::control(*form, name);
      QWidget* focus = QApplication::focusWidget();
      QTest::keyClick(focus, Qt::Key_Tab);
      ASSERT_EQ(QApplication::focusWidget(), next) << "after " << focus->metaObject()->className() << " "
                                                   << focus->objectName().toStdString();
      if (next != entered || !chosen) continue;
      QTest::keyClick(entered, Qt::Key_Space);
      for (int n = 1; n <= 3; ++n) EXPECT_EQ(test::control<QRadioButton>(*form, "Option", n)->isChecked(), n == chosen) << n;
      EXPECT_EQ(desk.settings.values[u"Option" + number(chosen)], u"True");
    }
  }
}

TEST_F(Form1Test, PointerMovementSetsTheWindowsPointer) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  const auto moveOver = [&](QWidget* w) {
    QMouseEvent move(QEvent::MouseMove, QPointF(w->rect().center()), w->mapToGlobal(QPointF(w->rect().center())),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
  };
  moveOver(test::control<QPushButton>(*form, "PushButton", 4));
  EXPECT_EQ(form->mousePointer(), 99);
  moveOver(test::control<QRadioButton>(*form, "Option", 2));  // no handler of its own: the code stays
  EXPECT_EQ(form->mousePointer(), 99);
  moveOver(test::control<QGroupBox>(*form, "Frame", 1));
  EXPECT_EQ(form->mousePointer(), 0);
  moveOver(test::control<QPushButton>(*form, "PushButton", 9));
  moveOver(test::control<ExactTextEdit>(*form, "Text1")->viewport());
  EXPECT_EQ(form->mousePointer(), 0);
}

// Each caption fits its control whole; the tests run this again at 125, 150 and 200 %.
TEST_F(Form1Test, EveryCaptionFitsItsControl) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  int checked = 0;
  for (QWidget* w : form->findChildren<QWidget*>()) {
    QSize needed;
    if (auto* button = qobject_cast<QPushButton*>(w)) {
      needed = button->fontMetrics().size(0, button->text()) + QSize(4, 4);  // inside the button's bevel
    } else if (qobject_cast<QLabel*>(w) || qobject_cast<QRadioButton*>(w)) {
      needed = w->sizeHint();
    } else if (qobject_cast<QGroupBox*>(w)) {
      needed = w->minimumSizeHint();
    } else {
      continue;
    }
    ++checked;
    EXPECT_LE(needed.width(), w->width()) << w->metaObject()->className() << " " << w->property("text").toString().toStdString()
                                          << w->property("title").toString().toStdString();
    EXPECT_LE(w->fontMetrics().height(), w->height()) << w->metaObject()->className();
  }
  EXPECT_EQ(checked, 15);  // 3 frames, 2 labels, 3 options and 7 push buttons
}

// Every box belongs to the window, even while another window is active: the window manager then
// keeps it above ours, also when ours is kept above the others.
TEST_F(Form1Test, MessageBoxesAreTransientForTheWindow) {
  EXPECT_EQ(desk.app.mainWindow(), form->handle());
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  QWidget other;
  other.show();
  other.activateWindow();
  // Else "the box belongs to the active window" would pass as well.
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  qt::QtMessageBoxes boxes(desk.app);
  QWidget* parent = nullptr;
  QWindow* transientParent = nullptr;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box || !box->isVisible()) return;
    parent = box->parentWidget();
    transientParent = box->windowHandle()->transientParent();
    QTest::keyClick(box, Qt::Key_Return);
  });
  poll.start(10);
  EXPECT_EQ(boxes.show(u"Bad file name or number", mb::Exclamation, u"Application Error"), mb::AnswerOk);
  EXPECT_EQ(parent, form.get());
  EXPECT_EQ(transientParent, form->windowHandle());
}

}  // namespace
}  // namespace pw

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
