// The Windows build as a user meets it: the real pagewick.exe under Wine, on a private X server
// with openbox, clicked and typed at from outside through XTest, against stand-in browser windows
// in their own processes. What only a Windows program sees exactly is read by a probe inside Wine.
// PAGEWICK_WINE_LOCALE picks the Unix locale, and with it Wine's ANSI code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "addresses.h"
#include "app/layout.h"
#include "e2e/support/screen.h"
#include "e2e/support/wine.h"
#include "tests/doubles/tempdir.h"

namespace pw::e2e {
namespace {

using test::readBytes;

// Every kind of line end a page can hand over, and a lone surrogate, which a file cannot take.
const Text kPage = u"Line one\r\nline two\rlone CR\nlone LF\r\r\nCR CR LF\ttab Проверка café \xD800 end";
const Text kFirefox = u"Pagewick Test Page — Mozilla Firefox";
const Text kChrome = u"Pagewick Test Page - Google Chrome";
// Where Internet Explorer is retired, Edge stands in its place, titled as Edge titles its windows.
const Text kExplorer = u"Pagewick Test Page - Personal - Microsoft\u200B Edge";
const Text kSaveDialog = u"Create a new text file name";

Text error(const Text& description, const char* handler, int line) {
  return description + u"\r\nin Tolvane2021/08/31.Form1." + fromUtf8(handler) + u" at line " + number(line) +
         u"\r\rPlease email screenshot of this message to support@pagewick.example.org";
}

const char* locale() {
  const char* chosen = std::getenv("PAGEWICK_WINE_LOCALE");
  return chosen ? chosen : "C.UTF-8";
}

class WineTest : public ::testing::Test {
 protected:
  Program start() { return Program(session, wine.pagewick()); }
  std::string windowsFile(const std::string& name) const { return WinePrefix::windowsPath(dir / name); }
  void chooseFile(Program& program, const std::string& name) {
    program.click(spot::Text2);
    program.key("ctrl+a");
    program.type(windowsFile(name));
    ASSERT_TRUE(program.waitForStored("Text2", fromUtf8(windowsFile(name))));
  }
  // Clicks `button` of `program`'s window, whose box titled `title` must then be seen above
  // every other window, and answers it with `key`. The screen as it was just before the click and
  // as it is with the box open are kept as <picture>-before and <picture>.
  void expectBoxOnTop(Program& program, Spot button, const Text& title, const std::string& key,
                      const std::string& picture) {
    const ScreenImage before = grabScreen(session.display());
    saveScreenImage(before, picture + "-before");
    program.click(button);
    const auto [area, shown] = expectShownOnTop(program.window(), title, before, picture);
    program.answer(title, key);
    // Gone from the screen too, not only from the window list: Wine draws what lay below it a
    // moment later, and the next box's picture from before must not still show this one.
    EXPECT_TRUE(eventually([&] { return changedShare(area, shown, grabScreen(session.display())) > 0.6; }))
        << toUtf8(title) << " stays on the screen";
  }
  // The box is Pagewick's own, for Windows and for the window manager, which stacks it above
  // every other window, and the screen shows it where it stands. Returns where it lies and the
  // screen with it open.
  std::pair<Area, ScreenImage> expectShownOnTop(unsigned long main, const Text& title, const ScreenImage& before,
                                                const std::string& picture) {
    const auto box =
        session.waitForWindow([&](const WindowCandidate& w) { return w.handle != main && w.title == title; });
    if (!box) {
      ADD_FAILURE() << "no box titled " << toUtf8(title);
      return {};
    }
    EXPECT_TRUE(wine.ownedByPagewick(title)) << toUtf8(title);
    BoxOnScreen seen;
    ScreenImage now;
    EXPECT_TRUE(eventually([&] {
      now = grabScreen(session.display());
      seen = judgeBox(session.display(), *box, main, topXWindow(session.display()) == *box, before, now);
      return seen.visible();
    })) << toUtf8(title) << ": " << seen.describe() << ", see e2e/artifacts/" << picture << ".png";
    saveScreenImage(now, picture);
    return {areaOf(session.display(), *box), now};
  }

  XSession session;
  WinePrefix wine{session, locale()};
  test::TempDir dir;
};

TEST_F(WineTest, CapturesFromEachBrowserExactlyAndRemembersEverything) {
  wine.openPage(kExplorer, u"Explorer: " + kPage);
  wine.openPage(kChrome, u"Chrome: " + kPage);
  wine.openPage(kFirefox, u"Firefox: " + kPage, {.minimized = true});
  std::optional<Program> program;
  program.emplace(session, wine.pagewick());
  ASSERT_TRUE(program->waitForStored("Option1", u"True"));
  EXPECT_TRUE(program->waitForStored("Option2", u"False"));

  // One capture from each browser, the Firefox window minimised; the user's clipboard comes back.
  wine.offerClipboard(u"the user's own text");
  Text expected;
  const std::pair<Spot, Text> browsers[] = {{spot::Option1, u"Explorer: "}, {spot::Option2, u"Chrome: "},
                                            {spot::Option3, u"Firefox: "}};
  for (const auto& [option, name] : browsers) {
    program->click(option);
    program->click(spot::CaptureToBox);
    expected += u"\r" + name + kPage;
    ASSERT_TRUE(program->waitForStored("Text1", expected)) << toUtf8(program->stored("Text1"));
    EXPECT_TRUE(eventually([&] { return wine.clipboard() == u"the user's own text"; }));
  }
  EXPECT_EQ(program->stored("Option3"), u"True");
  EXPECT_TRUE(wine.topmost(u"Pagewick"));
  EXPECT_TRUE(eventually([&] { return program->topmost(); }));  // as the window manager sees it

  // The box holds every unit: its copy is read back inside Wine, whose bridge to X11 would not
  // leave the line ends alone.
  program->click(spot::CopyBox);
  EXPECT_TRUE(eventually([&] { return wine.clipboard() == expected; }));

  // Restart: everything comes back exactly.
  program->close();
  ASSERT_TRUE(program->exited(20000));
  program.emplace(session, wine.pagewick());
  EXPECT_TRUE(eventually([&] { return program->stored("Text1") == expected; }));
  program->click(spot::CopyBox);
  EXPECT_TRUE(eventually([&] { return wine.clipboard() == expected; }));
  EXPECT_EQ(program->stored("Option3"), u"True");
  EXPECT_TRUE(program->messages().empty());
}

// Run once in a Western and once in a Cyrillic code page: each holds one of the two pages only.
TEST_F(WineTest, TheFileGetsTheCodePagesBytesAndWhatItCannotHoldIsReported) {
  const bool cyrillic = wine.codePage() == 1251;
  ASSERT_TRUE(cyrillic || wine.codePage() == 1252) << wine.codePage();
  const Text fits = cyrillic ? u"Привет, мир\r\nдежз" : u"café crème\r\nnaïve";
  const std::string bytes = cyrillic ? "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0\r\n\xE4\xE5\xE6\xE7"
                                     : "caf\xE9 cr\xE8me\r\nna\xEFve";
  const Text foreign = cyrillic ? u"é" : u"Ж";
  wine.openPage(kChrome, fits);
  Program program = start();
  program.click(spot::Option2);
  ASSERT_TRUE(program.waitForStored("Option2", u"True"));

  // An empty path is refused first.
  program.click(spot::CaptureToFile);
  EXPECT_EQ(program.messages(1).back().prompt, u"You forgot to input file.");
  program.answer(u"Pagewick", "Return");

  chooseFile(program, "out.txt");
  program.click(spot::CaptureToFile);
  ASSERT_TRUE(eventually([&] { return readBytes(dir / "out.txt") == bytes + "\r\n"; })) << readBytes(dir / "out.txt");
  ASSERT_TRUE(eventually([&] { return program.topmost(); }));  // the capture's last step
  program.click(spot::CaptureToFile);
  ASSERT_TRUE(eventually([&] { return readBytes(dir / "out.txt") == bytes + "\r\n" + bytes + "\r\n"; })) << readBytes(dir / "out.txt");

  // A page the code page cannot hold is reported, and the file keeps what it had.
  program.close();
  ASSERT_TRUE(program.exited(20000));
  session.run({"xdotool", "search", "--name", toUtf8(kChrome), "windowclose"});
  wine.openPage(kChrome, u"x" + foreign);
  Program again = start();
  again.click(spot::CaptureToFile);
  const auto shown = again.messages(2);  // after the empty path's
  EXPECT_EQ(shown[1].title, u"Application Error");
  EXPECT_EQ(shown[1].prompt, error(u"The text cannot be written: its character U+" + Text(cyrillic ? u"00E9" : u"0416") +
                                       u" (at position 2) has no form in the system's encoding windows-" +
                                       number(static_cast<int>(wine.codePage())) + u".",
                                   "PushButton4_Click", 144));  // Chrome's delivery step
  again.answer(u"Application Error", "Return");
  EXPECT_EQ(readBytes(dir / "out.txt"), bytes + "\r\n" + bytes + "\r\n");
}

TEST_F(WineTest, AMissingBrowserIsReportedAndTheCaptureCarriesOn) {
  wine.openPage(u"Notes - Editor", u"not a browser");
  Program program = start();
  program.click(spot::Option2);
  ASSERT_TRUE(program.waitForStored("Option2", u"True"));
  wine.offerClipboard(u"kept");
  program.click(spot::CaptureToBox);
  const auto shown = program.messages(1);
  EXPECT_EQ(shown[0].title, u"Application Error");
  EXPECT_EQ(shown[0].prompt, error(u"No window whose title is, starts with or ends with \"Google Chrome\" was found, nor a Chromium window. "
                                   u"Windows open now: \"Notes - Editor\".",
                                   "PushButton2_Click", 126));
  program.answer(u"Application Error", "Return");
  EXPECT_TRUE(program.waitForStored("Text1", u"\r"));
  EXPECT_TRUE(eventually([&] { return wine.clipboard() == u"kept"; }));
  EXPECT_EQ(program.messages().size(), 1u);
}

// A mistyped word is error 13 at its own line; a value that is not text at all is moved aside.
TEST_F(WineTest, DamagedOptionsAreReportedAtTheirLinesAndTheRestIsRestored) {
  wine.saveSetting("Option1", u"Yes");
  wine.saveNumber("Option2");
  wine.saveSetting("Option3", u"True");
  wine.saveSetting("Text1", u"\rpage one\r\n  ");
  Launch launch = wine.pagewick();
  launch.answerStartErrors = true;  // the window is loaded before it is shown
  Program program(session, launch);
  const auto shown = program.messages(2);
  EXPECT_EQ(shown[0].title, u"Application Error");
  EXPECT_EQ(shown[0].prompt, error(u"Type mismatch", "Form_Load", 128));
  EXPECT_TRUE(shown[1].prompt.starts_with(u"The setting \"Option2\" is not text in the registry.")) << toUtf8(shown[1].prompt);
  EXPECT_NE(shown[1].prompt.find(u".Form1.Form_Load at line 130\r"), Text::npos) << toUtf8(shown[1].prompt);
  // Firefox is chosen again, and choosing it wrote all three choices afresh.
  EXPECT_TRUE(program.waitForStored("Option1", u"False"));
  EXPECT_TRUE(program.waitForStored("Option2", u"False"));
  EXPECT_EQ(program.stored("Option3"), u"True");
  EXPECT_EQ(program.stored("Text1"), u"\rpage one\r\n  ");
  EXPECT_EQ(program.messages().size(), 2u);
}

TEST_F(WineTest, SaveDialogClearingTheFileAndHelp) {
  const std::string existing = dir / "existing.txt";
  std::ofstream(existing, std::ios::binary) << "old\r\n";
  Program program = start();
  const auto saveAs = [&](const std::string& name) {
    program.click(spot::ChooseFile);
    program.focus(kSaveDialog);
    program.type(windowsFile(name));
    program.answer(kSaveDialog, "Return");  // a click right after it closes could be lost
  };

  // A new name is taken as typed, without a question and without creating the file.
  saveAs("fresh.txt");
  ASSERT_TRUE(program.waitForStored("Text2", fromUtf8(windowsFile("fresh.txt"))));
  EXPECT_FALSE(std::filesystem::exists(dir / "fresh.txt"));

  // An existing file: No shows the dialog again, Yes takes the name.
  saveAs("existing.txt");
  EXPECT_EQ(program.messages(1)[0].prompt, u"Are you sure you would like to use this text file? All contents will be "
                                           u"overwritten when you click the 'Copy' button.");
  program.answer(u"Pagewick", "n");
  program.focus(kSaveDialog);
  program.type(windowsFile("existing.txt"));
  program.answer(kSaveDialog, "Return");
  program.messages(2);
  program.answer(u"Pagewick", "y");
  ASSERT_TRUE(program.waitForStored("Text2", fromUtf8(windowsFile("existing.txt"))));

  // Clearing the file: No keeps it, Yes empties it.
  program.click(spot::ClearFile);
  program.messages(3);
  program.answer(u"Pagewick", "n");
  EXPECT_EQ(readBytes(existing), "old\r\n");
  program.click(spot::ClearFile);
  program.answer(u"Pagewick", "y");
  EXPECT_TRUE(eventually([&] { return readBytes(existing).empty(); }));

  // Cancel leaves no file chosen.
  program.click(spot::ChooseFile);
  program.answer(kSaveDialog, "Escape");
  EXPECT_TRUE(program.waitForStored("Text2", u""));

  program.click(spot::Help);
  EXPECT_EQ(program.messages(5)[4].prompt, Text(u"Questions? Please contact Team Kelvarin at ") + addresses::kContactPage);
  program.answer(u"Pagewick", "Return");
  EXPECT_EQ(program.messages().size(), 5u);
}

// After a capture the window stays above the others. A box it shows later must open above it,
// or the modal box leaves the window deaf to every click with nothing to see; the hardest case is
// a failure while the browser is the active window.
TEST_F(WineTest, EveryBoxOpensAboveTheTopmostWindowEvenWhileTheBrowserIsActive) {
  std::filesystem::create_directories(dir / "folder");
  std::ofstream(dir / "kept.txt", std::ios::binary) << "kept";
  wine.openPage(kChrome, u"page");
  Program program = start();
  program.click(spot::Option2);
  ASSERT_TRUE(program.waitForStored("Option2", u"True"));
  program.click(spot::CaptureToBox);
  ASSERT_TRUE(program.waitForStored("Text1", u"\rpage"));
  ASSERT_TRUE(eventually([&] { return program.topmost(); }));

  expectBoxOnTop(program, spot::Help, u"Pagewick", "Return", "wine-box-help");
  expectBoxOnTop(program, spot::CaptureToFile, u"Pagewick", "Return", "wine-box-no-file");
  chooseFile(program, "kept.txt");
  expectBoxOnTop(program, spot::ClearFile, u"Pagewick", "n", "wine-box-question");
  // A folder for a file: the delivery fails while the browser is the active window.
  chooseFile(program, "folder");
  expectBoxOnTop(program, spot::CaptureToFile, u"Application Error", "Return", "wine-box-error");
  const auto shown = program.messages(4);
  EXPECT_NE(shown[3].prompt.find(u".Form1.PushButton4_Click at line 144\r"), Text::npos) << toUtf8(shown[3].prompt);
  EXPECT_EQ(readBytes(dir / "kept.txt"), "kept");
  EXPECT_EQ(shown.size(), 4u);
}

// At 96, 120, 144 and 192 DPI the window is the layout at that many pixels to the inch, and every
// caption fits its control. The manifest tells Windows that the program scales itself.
TEST_F(WineTest, TheWindowIsLaidOutAtEachDpiWithEveryCaptionWhole) {
  // What a caption has beside it inside its control: the round box of an option, the line
  // before a frame's caption and after it, a button's raised edges.
  const auto besides = [](ControlKind kind, int dpi) {
    const int at96 = kind == ControlKind::OptionButton ? 17
                     : kind == ControlKind::Frame      ? 16
                     : kind == ControlKind::PushButton ? 4
                                                       : 0;
    return at96 * dpi / 96;
  };
  for (const int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
    wine.setDpi(dpi);
    Program program = start();
    const ShownLayout shown = wine.layout();
    program.screenshot("wine-dpi-" + std::to_string(dpi));
    ASSERT_EQ(shown.dpi, dpi);
    const auto px = [&](int twips) { return twips * dpi / 1440.0; };
    EXPECT_NEAR(shown.width, px(layout::kForm.width), 1);
    EXPECT_NEAR(shown.height, px(layout::kForm.height), 1);
    ASSERT_EQ(shown.controls.size(), layout::kControls.size());
    for (const ShownControl& c : shown.controls) {
      // The window numbers its controls in the layout's order.
      const layout::Control& entry = layout::kControls.at(static_cast<std::size_t>(c.id - layout::kFirstControlId));
      const layout::Rect at = layout::inWindow(entry);
      SCOPED_TRACE(toUtf8(entry.caption));
      EXPECT_NEAR(c.left, px(at.left), 1);
      EXPECT_NEAR(c.top, px(at.top), 1);
      EXPECT_NEAR(c.height, px(at.height), 1);
      // A label is as wide as its text: the layout's width cuts off the colon of "Text Box:".
      if (entry.kind == ControlKind::Label) EXPECT_GE(c.width, px(at.width) - 1);
      else EXPECT_NEAR(c.width, px(at.width), 1);
      EXPECT_LE(c.captionWidth, c.width - besides(entry.kind, dpi));
    }
    if (dpi == 96) {
      const std::string manifest = wine.manifest();
      for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", ">PerMonitorV2",
                               "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",
                               "running: per-monitor"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part << " is not in:\n" << manifest;
      }
    }
    program.close();
    ASSERT_TRUE(program.exited(20000));
  }
}

TEST_F(WineTest, ClosingTheWindowDuringACaptureEndsItThere) {
  wine.openPage(kExplorer, kPage, {.copies = false});  // the capture waits for it
  Program program = start();
  chooseFile(program, "never.txt");
  wine.offerClipboard(u"before");
  program.click(spot::CaptureToFile);
  // The capture empties the clipboard first.
  ASSERT_TRUE(eventually([&] { return !wine.clipboard(); }));
  program.close();
  EXPECT_TRUE(program.exited(20000));
  EXPECT_FALSE(std::filesystem::exists(dir / "never.txt"));
}

}  // namespace
}  // namespace pw::e2e
