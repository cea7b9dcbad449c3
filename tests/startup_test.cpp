// Start-up, the restored settings and the skin, with the services doubled.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QRadioButton>

#include <clocale>
#include <random>

#include "app/commands.h"
#include "app/qt/exacttextedit.h"
#include "app/qt/form1.h"
#include "app/settings.h"
#include "app/controls/members.h"
#include "app/controls/skincontrol.h"
#include "app/startup.h"
#include "platform/posix/filesettingsstore.h"
#include "platform/qt/qtapplication.h"
#include "platform/runtimeerror.h"
#include "tests/doubles/dispatchdouble.h"
#include "tests/doubles/doubles.h"
#include "tests/doubles/tempdir.h"
#include "tests/support/findcontrol.h"

namespace pw {
namespace {

using test::FakeDesktop;
using test::RecordingDispatch;

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() { desk.app.folder = fromUtf8(dir.path()); }
  // The window, with `skinDouble` for its skin control; loaded unless `load` is false.
  void start(std::unique_ptr<RecordingDispatch> skinDouble = std::make_unique<RecordingDispatch>(), bool load = true) {
    skin = skinDouble.get();
    form = std::make_unique<Form1>(desk.services, std::move(skinDouble), std::make_unique<RecordingDispatch>());
    if (load) form->load();
  }
  // The skin file beside the program.
  void writeSkin(const std::string& sheet = "QWidget { }") {
    std::filesystem::create_directories(dir / "x");
    test::writeBytes(dir / "x/o.cjs", sheet);
  }
  std::map<Text, Text>& stored() { return desk.settings.values; }
  bool selected(int n) { return test::control<QRadioButton>(*form, "Option", n)->isChecked(); }

  test::TempDir dir;  // the program's folder
  FakeDesktop desk;
  RecordingDispatch* skin = nullptr;
  std::unique_ptr<Form1> form;
};

TEST_F(StartupTest, AnEmptyStoreChoosesInternetExplorerAndWritesTheChoice) {
  start();
  EXPECT_TRUE(selected(1));
  EXPECT_EQ(stored(), (std::map<Text, Text>{{u"Option1", u"True"}, {u"Option2", u"False"}, {u"Option3", u"False"}}));
  EXPECT_TRUE(desk.messages.shown.empty());
  EXPECT_EQ(form->windowTitle(), "Pagewick");
  EXPECT_EQ(desk.app.title(), u"Pagewick");
  // The program's own pictures, pixel for pixel: a name Qt could not read would show nothing.
  // Compared premultiplied, as a pixmap holds them: the way back rounds the translucent edges.
  for (int size : {48, 128, 256}) {
    const QImage drawn(QStringLiteral(PAGEWICK_SOURCE_DIR "/app/resources/pagewick-%1.png").arg(size));
    ASSERT_FALSE(drawn.isNull());
    const QImage shown = form->windowIcon().pixmap(size).toImage();
    EXPECT_TRUE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
                drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied))
        << size << ": shown " << shown.width() << "x" << shown.height() << (shown.isNull() ? ", none" : "");
  }
}

TEST_F(StartupTest, FalseEverywhereSelectsNothingAndWritesNothing) {
  stored() = {{u"Option1", u"False"}, {u"Option2", u"False"}, {u"Option3", u"False"}};
  start();
  EXPECT_FALSE(selected(1) || selected(2) || selected(3));
  EXPECT_EQ(desk.settings.saves, 0);
}

TEST_F(StartupTest, TheLastTrueOptionWinsAndTheStoreFollows) {
  stored() = {{u"Option1", u"True"}, {u"Option2", u"0"}, {u"Option3", u"tRUE"}};
  start();
  EXPECT_TRUE(selected(3));
  EXPECT_EQ(stored()[u"Option1"], u"False");
  EXPECT_EQ(stored()[u"Option3"], u"True");

  FakeDesktop numbers;
  numbers.settings.values = {{u"Option1", u"0"}, {u"Option2", u"1"}, {u"Option3", u"0"}};
  Form1 other(numbers.services, std::make_unique<RecordingDispatch>(), std::make_unique<RecordingDispatch>());
  other.load();
  EXPECT_TRUE(test::control<QRadioButton>(other, "Option", 2)->isChecked());
}

TEST_F(StartupTest, ABadOptionWordIsReportedAtItsLineAndTheRestIsRestored) {
  const Text longPath = u" /tmp/" + Text((1 << 24) + 1, u'p') + u"/out.txt ";  // longer than any cap
  stored() = {{u"Option1", u"Yes"}, {u"Option2", u"False"}, {u"Option3", u"True"},
              {u"Text1", u"\rpage one\r\n  "}, {u"Text2", longPath}};
  start();
  EXPECT_EQ(desk.messages.reportedLines(), (std::vector{128}));
  EXPECT_TRUE(desk.messages.shown[0].prompt.starts_with(u"Type mismatch\r\nin Tolvane2021/08/31.Form1.Form_Load at line 128"));
  EXPECT_FALSE(selected(1));
  EXPECT_TRUE(selected(3));
  EXPECT_EQ(form->text1(), u"\rpage one\r\n  ");
  EXPECT_TRUE(form->text2() == longPath);
  // The restored texts are written back as they are; a word the next click rewrites stays put.
  EXPECT_EQ(stored()[u"Text1"], u"\rpage one\r\n  ");
  EXPECT_TRUE(stored()[u"Text2"] == longPath);
  EXPECT_EQ(stored().count(u"Option1.unreadable"), 0u);
  EXPECT_EQ(stored()[u"Option3"], u"True");
}

TEST_F(StartupTest, FailingStepsAreEachReportedAndStartUpGoesOn) {
  writeSkin();
  test::writeBytes(dir / "HAND-M.CUR", "not a cursor");
  desk.app.failPictures = true;
  desk.app.failOpen = true;
  desk.random.value = 0.06;  // n = 7: the home page visit
  auto skinDouble = std::make_unique<RecordingDispatch>();
  skinDouble->failing[2] = true;
  start(std::move(skinDouble));
  EXPECT_EQ(desk.messages.reportedLines(), (std::vector{100, 104, 110}));
  EXPECT_EQ(skin->calls.size(), 1u);  // the failed load ends the skin loading
  EXPECT_EQ(form->windowTitle(), "Pagewick");
  EXPECT_TRUE(selected(1));
}

TEST_F(StartupTest, TheHomePageOpensOnOneDrawInAHundred) {
  for (double draw : {0.0, 0.059, 0.06, 0.0699, 0.07, 0.99}) {
    FakeDesktop d;
    d.random.value = draw;
    VisitHomePage(d.services);
    const bool seven = static_cast<int>(draw * 100) + 1 == 7;
    EXPECT_EQ(d.app.opened.size(), seven ? 1u : 0u) << draw;
    EXPECT_EQ(d.random.seeds, std::vector<double>{d.events.now});
  }
}

TEST_F(StartupTest, APointerPictureBesideTheProgramBecomesTheCustomPointer) {
  test::writeBytes(dir / "HAND-M.CUR", "cursor");
  start();
  form->setMousePointer(kPointerCustom);
  EXPECT_EQ(form->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(form->cursor().hotSpot(), QPoint(5, 1));

  FakeDesktop bare;
  Form1 plain(bare.services, std::make_unique<RecordingDispatch>(), std::make_unique<RecordingDispatch>());
  plain.load();
  plain.setMousePointer(kPointerCustom);
  EXPECT_EQ(plain.cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(bare.messages.shown.empty());
}

TEST_F(StartupTest, SkinRecoloursThenCallsTheControlInOrder) {
  writeSkin();
  auto skinDouble = std::make_unique<RecordingDispatch>();
  skinDouble->properties[1] = std::int32_t{6};
  start(std::move(skinDouble), false);
  const QColor optionBefore = test::control<QRadioButton>(*form, "Option", 1)->palette().color(test::control<QRadioButton>(*form, "Option", 1)->backgroundRole());
  LoadSkin(desk.services, *form);

  ASSERT_EQ(skin->calls.size(), 6u);
  EXPECT_EQ(skin->calls[0].id, 2);
  EXPECT_EQ(skin->calls[0].args, (std::vector<Variant>{fromUtf8(dir / "x/o.cjs"), Text()}));
  EXPECT_EQ(skin->calls[1].kind, Invoke::PropertyGet);
  EXPECT_EQ(skin->calls[2].args, (std::vector<Variant>{std::int32_t{7}}));
  EXPECT_EQ(skin->calls[3].id, 5);
  EXPECT_EQ(skin->calls[4].id, 10);
  EXPECT_EQ(skin->calls[5].id, 3);
  EXPECT_EQ(skin->calls[5].args, (std::vector<Variant>{static_cast<std::int32_t>(form->winId())}));
  EXPECT_NE(test::control<QRadioButton>(*form, "Option", 1)->palette().color(test::control<QRadioButton>(*form, "Option", 1)->backgroundRole()), optionBefore);
  EXPECT_EQ(test::control<QLineEdit>(*form, "Text2")->palette().color(test::control<QLineEdit>(*form, "Text2")->backgroundRole()), QColor(Qt::white));
}

TEST_F(StartupTest, TheRealSkinControlDressesTheWindowInTheStyleSheet) {
  const std::string sheet =
      "QPushButton { color: #123456; border: 1px solid red }\n"
      "QGroupBox , QLabel{background:#fe0;color :black;}\n"
      "QLineEdit { font: bold; }  QWidget { background-color: white; color: rgb(1,2,3)";
  writeSkin(sheet);
  form = std::make_unique<Form1>(desk.services);  // the real skin and dialog controls
  form->load();
  EXPECT_TRUE(desk.messages.shown.empty());
  EXPECT_EQ(form->styleSheet(), QString::fromStdString(sheet));
  // The colours the Windows window takes from the same sheet; the rest is passed over.
  const auto rules = controls::skinColours(sheet);
  ASSERT_EQ(rules.size(), 3u);
  EXPECT_EQ(rules[0].selectors, std::vector<std::string>{"QPushButton"});
  EXPECT_EQ(rules[0].text, 0x563412u);
  EXPECT_FALSE(rules[0].background);
  EXPECT_EQ(rules[1].selectors, (std::vector<std::string>{"QGroupBox", "QLabel"}));
  EXPECT_EQ(rules[1].background, 0x00EEFFu);
  EXPECT_EQ(rules[1].text, 0u);
  EXPECT_EQ(rules[2].selectors, std::vector<std::string>{"QWidget"});
  EXPECT_EQ(rules[2].background, 0xFFFFFFu);
  EXPECT_FALSE(rules[2].text);
  EXPECT_EQ(toInt32(form->skin().invoke(members::skin::ApplyOptions, Invoke::PropertyGet, {})) & members::skin::DrawSkin, members::skin::DrawSkin);
  EXPECT_THROW(form->skin().invoke(99, Invoke::Method, {}), RuntimeError);
}

TEST_F(StartupTest, NoSkinFileOrAFolderInItsPlaceMeansNoSkin) {
  std::filesystem::create_directories(dir / "x/o.cjs");
  start();
  EXPECT_TRUE(skin->calls.empty());
  EXPECT_TRUE(desk.messages.shown.empty());
}

TEST(Text1RoundTrip, ExactTextSurvivesTheStoreARestartAndTheCopyCommand) {
  std::mt19937 rng(3);
  const Text pieces[] = {u"a", u"\r", u"\n", u"\r\n", u"\u2028", u"\u00A0", Text(1, u'\0'), u"\U0001F600", u"Ж", u" "};
  for (int round = 0; round < 50; ++round) {
    Text text;
    for (int i = static_cast<int>(rng() % 40); i > 0; --i) text += pieces[rng() % std::size(pieces)];
    FakeDesktop desk;
    {
      Form1 first(desk.services, std::make_unique<RecordingDispatch>(), std::make_unique<RecordingDispatch>());
      first.load();
      first.setText1(text);
    }
    ASSERT_EQ(desk.settings.values[u"Text1"], text);
    Form1 second(desk.services, std::make_unique<RecordingDispatch>(), std::make_unique<RecordingDispatch>());
    second.load();
    ASSERT_EQ(second.text1(), text);
    PushButton5_Click(desk.services, second);
    ASSERT_EQ(desk.clipboard.content, text);
  }
}

TEST(PointerPicture, TheShippedCursorLoadsWithItsHotSpot) {
  qt::QtApplication app;
  const Picture picture = app.loadPicture(fromUtf8(PAGEWICK_SOURCE_DIR "/app/resources/HAND-M.CUR"));
  EXPECT_EQ(picture.width, 32);
  EXPECT_EQ(picture.height, 32);
  EXPECT_EQ(picture.hotX, 5);
  EXPECT_EQ(picture.hotY, 0);
  EXPECT_THROW(app.loadPicture(fromUtf8(PAGEWICK_SOURCE_DIR "/README.md")), RuntimeError);
}

// A damaged store: the window opens, each unreadable key is reported at its line, and nothing
// the user has not changed is written over.
// Nothing unreadable is lost: each value is moved aside, and the first change saves anew.
TEST(DamagedStore, TheWindowOpensSaysWhatItCouldNotReadAndWhereItWent) {
  test::TempDir dir;
  posix::FileSettingsStore real(dir.path());
  const auto path = [&](TextView key) { return real.keyPath(u"Kelvarin", u"Pagewick", key); };
  // Restoring Option1 clicks it, which rewrites Option2 unless it was moved aside before.
  real.save(u"Kelvarin", u"Pagewick", u"Option1", u"True");
  real.save(u"Kelvarin", u"Pagewick", u"Option2", u"\x01\x02junk\xFF");
  real.flush();
  const std::string option2 = test::readBytes(path(u"Option2"));
  const std::string cutText(std::string("\xFF\xFE" "collected pages", 17));
  test::writeBytes(path(u"Text1"), cutText);
  std::filesystem::create_directories(path(u"Text2"));

  FakeDesktop desk;
  Services services{desk.automation, desk.stacking, desk.clipboard, desk.events, real,
                    desk.messages,   desk.saveDialog, *desk.files, desk.app, desk.random};
  Form1 form(services, std::make_unique<RecordingDispatch>(), std::make_unique<RecordingDispatch>());
  form.load();
  ASSERT_EQ(desk.messages.reportedLines(), (std::vector{130, 134, 136}));
  EXPECT_TRUE(desk.messages.shown[1].prompt.starts_with(u"Could not read the setting \"Text1\"")) << test::narrow(desk.messages.shown[1].prompt);
  EXPECT_TRUE(test::control<QRadioButton>(form, "Option", 1)->isChecked());
  EXPECT_EQ(form.text1(), u"");
  for (const auto& [key, box, bytes] : {std::tuple{u"Option2", 0, option2}, {u"Text1", 1, cutText}, {u"Text2", 2, std::string()}}) {
    const auto aside = test::pathsStartingWith(path(key) + ".unreadable-");
    ASSERT_EQ(aside.size(), 1u) << toUtf8(key);
    EXPECT_NE(desk.messages.shown[box].prompt.find(u"moved to \"" + fromUtf8(aside[0]) + u"\""), Text::npos)
        << test::narrow(desk.messages.shown[box].prompt);
    if (!bytes.empty()) {
      EXPECT_EQ(test::readBytes(aside[0]), bytes);
    }
  }
  form.setText1(u"new");
  EXPECT_EQ(real.get(u"Kelvarin", u"Pagewick", u"Text1", u""), u"new");
  EXPECT_EQ(real.get(u"Kelvarin", u"Pagewick", u"Option2", u""), u"False");
}

// The home page goes to the desktop's handler as one argument, never through a shell.
TEST(HomePage, TheAddressIsOneArgumentAndNeverACommand) {
  test::TempDir dir;
  // The stand-in writes aside and renames: the file the test waits for is whole when it appears.
  test::writeBytes(dir / "xdg-open", "#!/bin/sh\nd=$(dirname \"$0\")\nprintf '%s\\n' \"$#\" \"$@\" > \"$d/opened.part\"\n"
                                     "mv \"$d/opened.part\" \"$d/opened\"\n");
  std::filesystem::permissions(dir / "xdg-open", std::filesystem::perms::owner_all);
  const std::string path = std::getenv("PATH");
  setenv("PATH", (dir.path() + ":" + path).c_str(), 1);
  qt::QtApplication app;
  app.openAddress(u"https://pagewick.example.org/a?b=c&d=$(touch%20x);e");
  EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(dir / "opened"); }, 10000));
  EXPECT_EQ(test::readBytes(dir / "opened"), "1\nhttps://pagewick.example.org/a?b=c&d=$(touch%20x);e\n");
  for (const char16_t* bad : {u"file:///etc/passwd", u"javascript:alert(1)", u"\"; rm -rf /; \"", u"https://"}) {
    EXPECT_THROW(app.openAddress(bad), RuntimeError) << toUtf8(bad);
  }
  setenv("PATH", path.c_str(), 1);
  EXPECT_FALSE(std::filesystem::exists("x"));
}

TEST(ApplicationTitle, DropsWordsFromTheEnd) {
  EXPECT_EQ(applicationTitle(u"Pagewick"), u"Pagewick");
  EXPECT_EQ(applicationTitle(u"Kelvarin Page Text Collector"), u"Kelvarin Page Text");
  EXPECT_EQ(applicationTitle(u"one two three four five six seven eight nine tenthword"),
            u"one two three four five six seven eight");
}

// The same under a locale whose decimal mark is a comma.
TEST(Conversions, TextToBooleanAcceptsWordsAndNumbersOnly) {
  for (const char* locale : {"C", "de_DE.UTF-8"}) {
  SCOPED_TRACE(locale);
  ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << "scripts/install-deps.sh test generates it";
  EXPECT_TRUE(textToBoolean(u"True"));
  EXPECT_TRUE(textToBoolean(u"TRUE"));
  EXPECT_FALSE(textToBoolean(u"false"));
  EXPECT_TRUE(textToBoolean(u"1"));
  EXPECT_TRUE(textToBoolean(u"-1"));
  EXPECT_TRUE(textToBoolean(u"2.5"));
  EXPECT_FALSE(textToBoolean(u"0"));
  EXPECT_FALSE(textToBoolean(u" 0.0 "));
  for (const char16_t* bad : {u"", u"Yes", u"1x", u"inf", u"nan", u"Truee", u"+", u"+-1", u"2,5"}) {
    try {
      textToBoolean(bad);
      ADD_FAILURE() << toUtf8(bad);
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), err::TypeMismatch);
    }
  }
  }
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(booleanText(true), u"True");
  EXPECT_EQ(booleanText(false), u"False");
}

TEST_F(StartupTest, AFailingWriteIsToldOnceAndLaterChangesAreStillWritten) {
  start();
  desk.settings.failSaves = true;
  form->setText1(u"a");
  form->setText1(u"ab");
  EXPECT_EQ(desk.messages.shown.size(), 1u);
  desk.settings.failSaves = false;
  form->setText1(u"abc");
  EXPECT_EQ(stored()[u"Text1"], u"abc");
}

}  // namespace
}  // namespace pw
