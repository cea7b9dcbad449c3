#include "app/commands.h"

#include "addresses.h"
#include "app/controls/members.h"
#include "capture/clipboardretry.h"
#include "capture/textfiles.h"
#include "errors/procedure.h"

namespace pw {
namespace {

using namespace members::dialog;
constexpr std::int32_t kSaveDialogFlags = 0x280201;

int ask(Services& s, TextView prompt) { return s.messages.show(prompt, mb::YesNo, std::nullopt); }

}  // namespace

void PushButton1_Click(Services& s, MainWindow& window) {
  Procedure p(s.messages, "PushButton1_Click");
  p.step(100, [&] { window.setText1(u""); });
}

void PushButton5_Click(Services& s, MainWindow& window) {
  Procedure p(s.messages, "PushButton5_Click");
  p.step(106, [&] { ClipboardSetText(s.clipboard, window.text1(), 0); });
}

void PushButton6_Click(Services& s, MainWindow& window) {
  Procedure p(s.messages, "PushButton6_Click");
  Dispatch& dialog = window.dialog();
  const auto put = [&](int member, Variant value) { dialog.invoke(member, Invoke::PropertyPut, {std::move(value)}); };
  const auto fileName = [&] { return toText(dialog.invoke(FileName, Invoke::PropertyGet, {})); };
  bool chosen = false;
  p.step(100, [&] { chosen = false; });
  while (p.test(102, [&] { return !chosen; })) {
    p.step(104, [&] { put(FileName, Text()); });
    p.step(106, [&] { put(Flags, kSaveDialogFlags); });
    p.step(108, [&] { put(DialogTitle, Text(u"Create a new text file name")); });
    p.step(110, [&] { put(Filter, Text(u"New Text File (*.txt)|*.txt|")); });
    p.step(112, [&] { dialog.invoke(ShowSave, Invoke::Method, {}); });
    if (p.test(114, [&] { return FileExists(s.files, fileName()); })) {
      int answer = 0;
      p.step(116, [&] { answer = ask(s, kOverwriteQuestion); });
      if (p.test(118, [&] { return answer == mb::AnswerYes; })) p.step(120, [&] { chosen = true; });
    } else {
      p.step(122, [&] { chosen = true; });
    }
  }
  p.step(124, [&] { window.setText2(fileName()); });
}

void PushButton3_Click(Services& s, MainWindow& window) {
  Procedure p(s.messages, "PushButton3_Click");
  if (p.test(100, [&] { return FileExists(s.files, window.text2()); })) {
    int answer = 0;
    p.step(102, [&] { answer = ask(s, kOverwriteQuestion); });
    if (p.test(104, [&] { return answer == mb::AnswerYes; })) {
      p.step(106, [&] { WriteTextFile(s.files, u"", window.text2()); });
    }
  } else {
    p.step(108, [&] { s.messages.show(u"No file specified or file does not exist.", mb::Ok, std::nullopt); });
  }
}

void PushButton9_Click(Services& s) {
  Procedure p(s.messages, "PushButton9_Click");
  p.step(100, [&] {
    s.messages.show(Text(u"Questions? Please contact Team Kelvarin at ") + addresses::kContactPage, mb::Ok, std::nullopt);
  });
}

void PointerMoved(MainWindow& window, int code) {
  if (window.mousePointer() != kPointerHourglass) window.setMousePointer(code);
}

}  // namespace pw
