// The whole program as a user meets it: the real pagewick binary under a private X server with
// openbox, real Firefox ESR and Chromium windows, clicked and typed at through XTest.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "e2e/support/clipboardmanager.h"
#include "e2e/support/program.h"
#include "tests/doubles/tempdir.h"

namespace pw::e2e {
namespace {

using test::readBytes;

const char* kPage =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Pagewick Test Page</title></head><body>"
    "<h1>Проверка</h1><p>Plain text, a tab\tand café.</p><table><tr><td>x</td><td>y</td></tr></table>"
    "</body></html>";

Text error(const Text& description, const char* handler, int line) {
  return description + u"\r\nin Tolvane2021/08/31.Form1." + fromUtf8(handler) + u" at line " + number(line) +
         u"\r\rPlease email screenshot of this message to support@pagewick.example.org";
}

class ProgramTest : public ::testing::Test {
 protected:
  void openFirefox() {
    session.startFirefox("file://" + session.writeFile("page.html", kPage));
    ASSERT_TRUE(session.waitForWindow(u"Pagewick Test Page"));
    page = copyFromBrowser(session, "Pagewick Test Page");
    ASSERT_NE(page.find("Проверка"), std::string::npos) << page;
  }

  XSession session;
  test::TempDir dir;
  std::string config = dir / "config";
  std::string page;  // what the browser itself puts on the clipboard
};

TEST_F(ProgramTest, CapturesIntoTheBoxAndTheFileAndRemembersEverything) {
  openFirefox();
  std::optional<Program> program;
  program.emplace(session, config);

  // First start with an empty store; the three choices are written one after another.
  ASSERT_TRUE(program->waitForStored("Option1", u"True"));
  EXPECT_TRUE(program->waitForStored("Option2", u"False"));
  EXPECT_TRUE(program->waitForStored("Option3", u"False"));
  program->screenshot("main-window");

  // Firefox, twice into the text box; the user's clipboard comes back.
  program->click(spot::Option3);
  ASSERT_TRUE(program->waitForStored("Option3", u"True"));
  EXPECT_EQ(program->stored("Option1"), u"False");
  offerClipboard(session, "the user's own text");
  const Text once = u"\r" + fromUtf8(page);
  program->click(spot::CaptureToBox);
  ASSERT_TRUE(program->waitForStored("Text1", once)) << toUtf8(program->stored("Text1"));
  program->click(spot::CaptureToBox);
  ASSERT_TRUE(program->waitForStored("Text1", once + once));
  EXPECT_TRUE(eventually([&] { return clipboardText(session) == "the user's own text"; }));
  EXPECT_TRUE(eventually([&] { return program->topmost(); }));

  // Into a file: an empty path is refused first.
  program->click(spot::CaptureToFile);
  auto shown = program->messages(1);
  EXPECT_EQ(shown.back().prompt, u"You forgot to input file.");
  EXPECT_EQ(shown.back().title, u"Pagewick");
  program->answer(u"Pagewick", "Return");

  const std::string file = dir / "out.txt";
  program->click(spot::Text2);
  program->type(file);
  ASSERT_TRUE(program->waitForStored("Text2", fromUtf8(file)));
  program->click(spot::CaptureToFile);
  ASSERT_TRUE(eventually([&] { return readBytes(file) == page + "\r\n"; })) << readBytes(file);
  program->click(spot::CaptureToFile);
  ASSERT_TRUE(eventually([&] { return readBytes(file) == page + "\r\n" + page + "\r\n"; }));
  EXPECT_EQ(clipboardText(session), page);
  EXPECT_EQ(program->messages().size(), 1u);

  // A folder as the file: the delivery fails while Firefox is the active window, and the report
  // opens above our window, which has been kept above the others since the first capture.
  program->click(spot::Text2);
  program->key("ctrl+a");
  program->type(dir.path());
  ASSERT_TRUE(program->waitForStored("Text2", fromUtf8(dir.path())));
  const ScreenImage before = grabScreen(session.display());
  program->click(spot::CaptureToFile);
  shown = program->messages(2);
  EXPECT_EQ(shown.back().title, u"Application Error");
  EXPECT_NE(shown.back().prompt.find(u"PushButton4_Click at line 164"), Text::npos) << toUtf8(shown.back().prompt);
  const unsigned long box = program->find(u"Application Error");
  BoxOnScreen seen;
  EXPECT_TRUE(eventually([&] { return (seen = program->onScreen(box, before)).visible(); }, 10000)) << seen.describe();
  program->screenshot("error-box-above-the-topmost-window");
  program->answer(u"Application Error", "Return");
  program->click(spot::Text2);
  program->key("ctrl+a");
  program->type(file);
  ASSERT_TRUE(program->waitForStored("Text2", fromUtf8(file)));

  // Restart: everything comes back exactly.
  program->close();
  ASSERT_TRUE(program->exited(10000));
  program.emplace(session, config);
  EXPECT_TRUE(eventually([&] { return program->stored("Text1") == once + once; }));
  program->click(spot::CaptureToBox);
  ASSERT_TRUE(program->waitForStored("Text1", once + once + once));
  EXPECT_EQ(program->stored("Option3"), u"True");
  EXPECT_EQ(program->stored("Text2"), fromUtf8(file));
  EXPECT_EQ(program->messages().size(), 2u);  // the empty-path notice and the folder's report
}

TEST_F(ProgramTest, StartsWithoutComplaintAndEndsWhenClosed) {
  Program program(session, config);
  ASSERT_TRUE(program.waitForStored("Option1", u"True"));
  program.screenshot(std::getenv("PAGEWICK_E2E_BINARY") ? "installed-window" : "started-window");
  EXPECT_TRUE(program.messages().empty());
  program.close();
  EXPECT_TRUE(program.exited(10000));
}

// The first command, as a user runs it from a fresh checkout (PAGEWICK_E2E_RUN names its
// scripts/run.sh) in an X11 session: it builds the program and starts it, and that captures.
TEST_F(ProgramTest, TheFirstCommandEndsWithACapture) {
  const char* script = std::getenv("PAGEWICK_E2E_RUN");
  if (!script) GTEST_SKIP() << "PAGEWICK_E2E_RUN names no run.sh";
  openFirefox();
  Launch launch = linuxBuild(config);
  launch.argv = {script};
  launch.windowMs = 40 * 60000;  // a build first: minutes
  Program program(session, launch);
  program.click(spot::Option3);
  ASSERT_TRUE(program.waitForStored("Option3", u"True"));
  program.click(spot::CaptureToBox);
  EXPECT_TRUE(program.waitForStored("Text1", u"\r" + fromUtf8(page)));
}

TEST_F(ProgramTest, AMissingBrowserIsReportedAndTheCaptureCarriesOn) {
  Program program(session, config);
  program.click(spot::Option2);
  ASSERT_TRUE(program.waitForStored("Option2", u"True"));
  program.click(spot::CaptureToBox);
  auto shown = program.messages(1);
  program.screenshot("error-box");
  EXPECT_EQ(shown[0].title, u"Application Error");
  EXPECT_EQ(shown[0].prompt,
            error(u"No window whose title is, starts with or ends with \"Google Chrome\" was found, nor a Chromium window. No other window is open.",
                  "PushButton2_Click", 126));
  program.answer(u"Application Error", "Return");
  EXPECT_TRUE(program.waitForStored("Text1", u"\r"));
  EXPECT_EQ(program.messages().size(), 1u);
}

TEST_F(ProgramTest, SaveDialogAndClearingTheFile) {
  Program program(session, config);
  const std::string fresh = dir / "fresh";
  const std::string existing = dir / "existing.txt";
  std::ofstream(existing, std::ios::binary) << "old\r\n";

  // A new name is taken as typed, without a question and without creating the file.
  program.click(spot::ChooseFile);
  program.focus(u"Create a new text file name");
  program.type(fresh);
  program.key("Return");
  ASSERT_TRUE(program.waitForStored("Text2", fromUtf8(fresh))) << toUtf8(program.stored("Text2"));
  EXPECT_FALSE(std::filesystem::exists(fresh));

  // An existing file: No shows the dialog again, Yes takes the name.
  program.click(spot::ChooseFile);
  program.focus(u"Create a new text file name");
  program.type(existing);
  program.key("Return");
  auto shown = program.messages(1);
  EXPECT_EQ(shown[0].prompt, u"Are you sure you would like to use this text file? All contents will be overwritten "
                             u"when you click the 'Copy' button.");
  program.answer(u"Pagewick", "Escape");
  program.focus(u"Create a new text file name");
  program.type(existing);
  program.key("Return");
  program.messages(2);
  program.answer(u"Pagewick", "Return");
  ASSERT_TRUE(program.waitForStored("Text2", fromUtf8(existing)));

  // Clearing the file: No keeps it, Yes empties it.
  program.click(spot::ClearFile);
  program.messages(3);
  program.answer(u"Pagewick", "Escape");
  EXPECT_EQ(readBytes(existing), "old\r\n");
  program.click(spot::ClearFile);
  program.messages(4);
  program.answer(u"Pagewick", "Return");
  EXPECT_TRUE(eventually([&] { return readBytes(existing).empty(); }));

  // A named pipe nobody reads is refused at once, and the window answers right after the report.
  const std::string pipe = dir / "pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  program.click(spot::Text2);
  program.key("ctrl+a");
  program.type(pipe);
  ASSERT_TRUE(program.waitForStored("Text2", fromUtf8(pipe)));
  program.click(spot::ClearFile);
  program.messages(5);
  program.answer(u"Pagewick", "Return");
  shown = program.messages(6);
  EXPECT_EQ(shown[5].title, u"Application Error");
  EXPECT_NE(shown[5].prompt.find(u"it is a named pipe, not a file."), Text::npos) << toUtf8(shown[5].prompt);
  program.answer(u"Application Error", "Return");
  program.click(spot::Option2);
  EXPECT_TRUE(program.waitForStored("Option2", u"True"));

  // Cancel leaves no file chosen.
  program.click(spot::ChooseFile);
  program.focus(u"Create a new text file name");
  program.key("Escape");
  EXPECT_TRUE(program.waitForStored("Text2", u""));
  EXPECT_EQ(program.messages().size(), 6u);
}

TEST_F(ProgramTest, AMegabytePageInChromiumArrivesWhole) {
  std::string lines;
  for (int i = 0; lines.size() < 1024 * 1024; ++i) lines += "Line " + std::to_string(i) + " of the large page.\n";
  // The title changes once the whole page is in, so that the capture does not start on half of it.
  session.startChromium("file://" + session.writeFile("large.html", "<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                                                                    "<title>Loading</title></head><body><pre>" + lines +
                                                                        "</pre><script>document.title = 'Google Chrome';"
                                                                        "</script></body></html>"));
  ASSERT_TRUE(session.waitForWindow(u"Google Chrome"));
  Program program(session, config);
  program.click(spot::Option2);
  ASSERT_TRUE(program.waitForStored("Option2", u"True"));
  program.click(spot::CaptureToBox);
  ASSERT_TRUE(eventually([&] { return program.stored("Text1").size() > 1000000; }, 60000))
      << program.stored("Text1").size() << " characters; messages: " << program.messages().size();
  const std::string captured = toUtf8(program.stored("Text1"));
  EXPECT_EQ(captured.substr(0, 1 + lines.size() - 1), "\r" + lines.substr(0, lines.size() - 1));
  EXPECT_TRUE(program.messages().empty());
}

TEST_F(ProgramTest, TheClipboardOutlivesTheProgram) {
  std::string text = "Ünïcödé line\r\nsecond\tline\r";
  while (text.size() < 300 * 1024) text += "more text to go in pieces\r\n";
  std::filesystem::create_directories(config + "/Kelvarin/Pagewick");
  std::ofstream(config + "/Kelvarin/Pagewick/Text1", std::ios::binary) << text;
  Program program(session, config);
  ASSERT_TRUE(program.waitForStored("Text1", fromUtf8(text)));
  program.click(spot::CopyBox);
  ASSERT_TRUE(eventually([&] { return clipboardText(session) == text; }));
  program.close();
  ASSERT_TRUE(program.exited(10000));
  EXPECT_EQ(clipboardText(session), text);
}

TEST_F(ProgramTest, AClipboardManagerIsHandedTheTextAtTheEnd) {
  ClipboardManager manager(session.display());
  std::filesystem::create_directories(config + "/Kelvarin/Pagewick");
  std::ofstream(config + "/Kelvarin/Pagewick/Text1", std::ios::binary) << "kept by the manager\r\n";
  Program program(session, config);
  ASSERT_TRUE(program.waitForStored("Text1", u"kept by the manager\r\n"));
  program.click(spot::CopyBox);
  ASSERT_TRUE(eventually([&] { return clipboardText(session) == "kept by the manager\r\n"; }));
  program.close();
  ASSERT_TRUE(program.exited(10000));
  EXPECT_TRUE(eventually([&] { return manager.ownsClipboard(); }, 10000));
  EXPECT_EQ(manager.saved(), "kept by the manager\r\n");
  EXPECT_EQ(clipboardText(session), "kept by the manager\r\n");
}

TEST_F(ProgramTest, ClosingTheWindowDuringACaptureEndsItThere) {
  openFirefox();
  Program program(session, config);
  program.click(spot::Option3);
  const std::string file = dir / "never.txt";
  program.click(spot::Text2);
  program.type(file);
  ASSERT_TRUE(program.waitForStored("Text2", fromUtf8(file)));
  program.click(spot::CaptureToFile);
  // Once the browser is in front, the capture is in its pauses.
  ASSERT_TRUE(eventually([&] {
    return session.output({"xdotool", "getactivewindow", "getwindowname"}).find("Pagewick Test Page") != std::string::npos;
  }));
  program.close();
  EXPECT_TRUE(program.exited(10000));
  EXPECT_FALSE(std::filesystem::exists(file));
}

// The window scales as a whole, by the factor Qt is given or by the screen resolution that a
// GNOME or KDE session announces to X11 programs (Xft.dpi). That every caption stays whole at
// each scale, Form1Test.Scaled.* check.
struct Scale {
  const char* name;
  double factor;
  const char* variable;  // QT_SCALE_FACTOR's value, or none for the session's resolution
};

class ScaledProgramTest : public ProgramTest, public ::testing::WithParamInterface<Scale> {};

TEST_P(ScaledProgramTest, TheWindowScalesAsAWhole) {
  const Scale scale = GetParam();
  Launch launch = linuxBuild(config);
  if (scale.variable) {
    launch.env["QT_SCALE_FACTOR"] = scale.variable;
  } else {
    const std::string resources = session.writeFile("resources", "Xft.dpi: " + std::to_string(std::lround(96 * scale.factor)) + "\n");
    ASSERT_EQ(session.run({"xrdb", "-merge", resources}), 0);
  }
  Program program(session, launch);
  ASSERT_TRUE(program.waitForStored("Option1", u"True"));
  const Area area = areaOf(session.display(), program.window());
  EXPECT_NEAR(area.width, 536 * scale.factor, 1);
  EXPECT_NEAR(area.height, 483 * scale.factor, 1);
  program.screenshot(std::string("scale-") + scale.name);
  EXPECT_TRUE(program.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledProgramTest,
                         ::testing::Values(Scale{"125-qt", 1.25, "1.25"}, Scale{"150-qt", 1.5, "1.5"},
                                           Scale{"200-qt", 2, "2"}, Scale{"125-xft", 1.25, nullptr},
                                           Scale{"150-xft", 1.5, nullptr}, Scale{"200-xft", 2, nullptr}),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace pw::e2e
