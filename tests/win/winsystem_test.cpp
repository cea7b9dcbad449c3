// The Windows settings store, files, message box, save dialog and key events.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <windows.h>
#include <dlgs.h>

#include "platform/runtimeerror.h"
#include "platform/win/winsavedialog.h"
#include "platform/win/registrysettingsstore.h"
#include "platform/win/winfiles.h"
#include "platform/win/winkeys.h"
#include "platform/win/winmessageboxes.h"
#include "platform/wintext/wintext.h"
#include "tests/doubles/doubles.h"
#include "tests/win/support/testpage.h"

namespace pw::test {
namespace {

class WinSettings : public ::testing::Test {
 protected:
  ~WinSettings() override { RegDeleteTreeW(HKEY_CURRENT_USER, win::wide(root_).c_str()); }
  Text root_ = u"Software\\PagewickTests-" + number(GetCurrentProcessId());
  win::RegistrySettingsStore store_{root_};
};

TEST_F(WinSettings, ValuesComeBackExactlyAndMissingOnesAsTheDefault) {
  EXPECT_EQ(store_.get(u"Kelvarin", u"Pagewick", u"Text1", u"fallback"), u"fallback");

  Text large;
  const Text piece = u"line\r\nnext\rcr\nlf \u00E9\u0416\U0001F600\t";
  while (large.size() < 5 * 1024 * 1024 / 2) large += piece;
  store_.save(u"Kelvarin", u"Pagewick", u"Text1", large);
  EXPECT_EQ(store_.get(u"Kelvarin", u"Pagewick", u"Text1", u""), large);

  const Text odd = Text(u"nul\0inside", 10) + Text(1, char16_t(0xDC00)) + Text(1, u'\0');
  store_.save(u"Kelvarin", u"Pagewick", u"Text1", odd);
  EXPECT_EQ(store_.get(u"Kelvarin", u"Pagewick", u"Text1", u""), odd) << "shorter value replaces, units kept";

  store_.save(u"Kelvarin", u"Pagewick", u"Text2", u"");
  EXPECT_EQ(store_.get(u"Kelvarin", u"Pagewick", u"Text2", u"fallback"), u"") << "empty is not missing";
  EXPECT_EQ(store_.get(u"Kelvarin", u"Pagewick", u"Option1", u"False"), u"False");
}

// The next save would replace it, so it is moved aside first, type and bytes kept.
TEST_F(WinSettings, ValueOfAnotherTypeIsAnErrorAndIsMovedAside) {
  HKEY key = nullptr;
  const Text path = root_ + u"\\Kelvarin\\Pagewick";
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, win::wide(path).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const DWORD value = 1;
  RegSetValueExW(key, L"Option1", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
  try {
    store_.get(u"Kelvarin", u"Pagewick", u"Option1", u"");
    ADD_FAILURE() << "read as text";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), err::TypeMismatch);
    const auto at = e.description().find(u"moved to \"Option1.unreadable-");
    ASSERT_NE(at, Text::npos) << e.what();
    const std::wstring aside = win::wide(e.description().substr(at + 10, 36));
    DWORD type = 0, moved = 0, size = sizeof moved;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, win::wide(path).c_str(), aside.c_str(), RRF_RT_ANY, &type, &moved, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(moved, value);
  }
  EXPECT_EQ(store_.get(u"Kelvarin", u"Pagewick", u"Option1", u"absent"), u"absent");
}

std::string contents(TextView path) {
  std::ifstream in(std::filesystem::path(win::wide(path)), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(WinFiles, EightBitTextNeverLosesACharacter) {
  EXPECT_EQ(win::encodeAnsi(u"\u0416x", 1251), "\xC6x");
  EXPECT_EQ(win::encodeAnsi(u"caf\u00E9", 1252), "caf\xE9");
  try {
    win::encodeAnsi(u"ok \u0416", 1252);
    FAIL() << "Cyrillic passed through Western code page";
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.description().find(u"U+0416 (at position 4)"), Text::npos) << narrow(e.description());
    EXPECT_NE(e.description().find(u"windows-1252"), Text::npos);
  }
  EXPECT_THROW(win::encodeAnsi(u"\u0394", 1252), RuntimeError) << "no best-fit look-alike";
  EXPECT_THROW(win::encodeAnsi(u"a" + Text(1, char16_t(0xD800)), 1251), RuntimeError);
  EXPECT_EQ(win::encodeAnsi(u"\u0416\U0001F600", CP_UTF8), "\xD0\x96\xF0\x9F\x98\x80") << "a UTF-8 system page";
  EXPECT_THROW(win::encodeAnsi(Text(1, char16_t(0xDC00)), CP_UTF8), RuntimeError);
}

TEST(WinFiles, AppendCreatesThenAddsAndAFailedWriteLeavesTheFileAlone) {
  TempFolder folder;
  win::WinFiles files;
  const Text path = folder.file(u"out.txt");
  files.appendText(path, u"one\r\n");
  files.appendText(path, u"two\r\n");
  // No 8-bit code page has U+1F600; a system whose "ANSI" page is UTF-8 writes it.
  if (GetACP() != CP_UTF8) {
    EXPECT_THROW(files.appendText(path, u"\U0001F600\r\n"), RuntimeError);
    EXPECT_THROW(files.replaceText(path, u"\U0001F600"), RuntimeError);
  }
  EXPECT_EQ(contents(path), "one\r\ntwo\r\n");
  EXPECT_EQ(files.kind(path), PathKind::NormalFile);

  files.replaceText(path, u"");
  EXPECT_EQ(contents(path), "") << "output empties the file and adds nothing";

  EXPECT_EQ(files.kind(folder.path()), PathKind::Other) << "a folder is not a file";
  EXPECT_EQ(files.kind(folder.file(u"missing.txt")), PathKind::Missing);
  EXPECT_EQ(files.kind(Text(u"a\0b", 3)), PathKind::Missing);
  EXPECT_THROW(files.appendText(folder.file(u"no\\such\\folder.txt"), u"x"), RuntimeError);
}

// Answers the dialog titled `title` that our process shows, from another thread.
class DialogAnswerer {
 public:
  DialogAnswerer(Text title, std::function<void(HWND)> answer)
      : thread_([title = std::move(title), answer = std::move(answer), this] {
          found_ = waitFor(30000, [&] { return !ourDialogs(title).empty(); });
          if (found_) answer(ourDialogs(title).front());
        }) {}
  ~DialogAnswerer() {
    if (thread_.joinable()) thread_.join();
  }
  bool found() {
    thread_.join();
    return found_;
  }

 private:
  bool found_ = false;
  std::thread thread_;
};

Text staticText(HWND dialog) {
  Text all;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM out) -> BOOL {
        wchar_t name[32], text[512];
        GetClassNameW(child, name, 32);
        GetWindowTextW(child, text, 512);
        if (std::wstring(name) == L"Static") *reinterpret_cast<Text*>(out) += win::fromWide(text);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

void press(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

// Owned by the main window, not by whichever window is active: here a main window not yet shown,
// as during start-up.
TEST(WinDialogs, MessageBoxShowsItsTextUnderTheApplicationTitleOverTheMainWindowAndAnswers) {
  HWND main =
      CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  test::FakeApplication app;
  app.setTitle(u"Pagewick Test");
  app.setMainWindow(reinterpret_cast<WindowHandle>(main));
  win::WinMessageBoxes boxes(app);
  Text shownText;
  HWND owner = nullptr;
  DialogAnswerer answerer(u"Pagewick Test", [&](HWND box) {
    shownText = staticText(box);
    owner = GetWindow(box, GW_OWNER);
    press(box, IDNO);
  });
  EXPECT_EQ(boxes.show(u"Empty the file?", mb::YesNo, std::nullopt), mb::AnswerNo);
  EXPECT_TRUE(answerer.found());
  EXPECT_EQ(shownText, u"Empty the file?");
  EXPECT_EQ(owner, main);
  DestroyWindow(main);
}

// The question box a dialog shows over itself, if any.
HWND promptOf(HWND dialog) {
  for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
    wchar_t name[16];
    GetClassNameW(window, name, 16);
    if (GetWindow(window, GW_OWNER) == dialog && IsWindowVisible(window) && std::wstring(name) == L"#32770") {
      return window;
    }
  }
  return nullptr;
}

// Types `path` into the save dialog and presses Save.
void chooseFile(HWND dialog, TextView path) {
  SetWindowTextW(FindWindowExW(GetDlgItem(dialog, cmb13), nullptr, nullptr, nullptr), win::wide(path).c_str());
  SetDlgItemTextW(dialog, cmb13, win::wide(path).c_str());
  press(dialog, IDOK);
}

TEST(WinDialogs, SaveDialogAsksBeforeReplacingOnlyWhenTold) {
  TempFolder folder;
  const Text existing = folder.file(u"existing.txt");
  std::ofstream(std::filesystem::path(win::wide(existing))) << "kept";
  const Text title = u"Create a new text file name";
  SaveDialogRequest request{0, title, u"New Text File (*.txt)|*.txt|", u"", 0x280201};

  {
    std::atomic<bool> asked{false};
    DialogAnswerer answerer(title, [&](HWND dialog) {
      chooseFile(dialog, existing);
      // Without the prompt flag the dialog closes at once; a question box would stay.
      waitFor(30000, [&] { return !IsWindow(dialog) || (asked = promptOf(dialog) != nullptr); });
    });
    EXPECT_EQ(win::WinSaveDialog().show(request), std::optional<Text>(existing));
    EXPECT_TRUE(answerer.found());
    EXPECT_FALSE(asked);
  }

  request.flags |= kOverwritePrompt;
  bool prompted = false;
  DialogAnswerer answerer(title, [&](HWND dialog) {
    chooseFile(dialog, existing);
    prompted = waitFor(30000, [&] {
      HWND box = promptOf(dialog);
      if (box) press(box, IDYES);
      return box != nullptr;
    });
  });
  EXPECT_EQ(win::WinSaveDialog().show(request), std::optional<Text>(existing));
  EXPECT_TRUE(answerer.found());
  EXPECT_TRUE(prompted) << "an existing file needs a yes first";
  EXPECT_EQ(contents(existing), "kept");
}

struct Key {
  WORD code;
  bool up;
  bool operator==(const Key&) const = default;
};

std::vector<Key> keys(const std::vector<INPUT>& inputs) {
  std::vector<Key> out;
  for (const INPUT& input : inputs) {
    EXPECT_FALSE(input.ki.dwFlags & KEYEVENTF_UNICODE);
    out.push_back({input.ki.wVk, (input.ki.dwFlags & KEYEVENTF_KEYUP) != 0});
  }
  return out;
}

TEST(WinKeys, ShortcutsAreVirtualKeysWithTheirModifiersAround) {
  HKL us = LoadKeyboardLayoutW(L"00000409", 0);
  HKL russian = LoadKeyboardLayoutW(L"00000419", 0);
  const std::vector<Key> ctrlA{{VK_CONTROL, false}, {'A', false}, {'A', true}, {VK_CONTROL, true}};
  EXPECT_EQ(keys(win::keyInputs(u"^a", us)), ctrlA);
  EXPECT_EQ(keys(win::keyInputs(u"^a", russian)), ctrlA) << "Ctrl+A is the A key on every layout";
  EXPECT_EQ(keys(win::keyInputs(u"^A", us)),
            (std::vector<Key>{{VK_SHIFT, false}, {VK_CONTROL, false}, {'A', false}, {'A', true}, {VK_SHIFT, true}, {VK_CONTROL, true}}));
  const auto left = win::keyInputs(u"%{LEFT}", us);
  EXPECT_EQ(keys(left), (std::vector<Key>{{VK_MENU, false}, {VK_LEFT, false}, {VK_LEFT, true}, {VK_MENU, true}}));
  EXPECT_TRUE(left[1].ki.dwFlags & KEYEVENTF_EXTENDEDKEY);
}

TEST(WinKeys, CharactersOffTheLayoutGoAsUnicodeUnlessModified) {
  HKL us = LoadKeyboardLayoutW(L"00000409", 0);
  const auto smile = win::keyInputs(u"\U0001F600", us);
  ASSERT_EQ(smile.size(), 4u);
  EXPECT_TRUE(smile[0].ki.dwFlags & KEYEVENTF_UNICODE);
  EXPECT_EQ(smile[0].ki.wScan, 0xD83D);
  EXPECT_EQ(smile[2].ki.wScan, 0xDE00);
  EXPECT_THROW(win::keyInputs(u"^\u0416", us), RuntimeError);
}

}  // namespace
}  // namespace pw::test
