#include "app/startup.h"

#include "addresses.h"
#include "app/controls/members.h"
#include "app/settings.h"
#include "capture/textfiles.h"
#include "errors/procedure.h"

namespace pw {
namespace {

Text besideProgram(Services& s, TextView file) { return s.app.path() + u"/" + Text(file); }

}  // namespace

Text applicationTitle(TextView productName) {
  Text title(productName);
  do {
    const auto blank = title.rfind(u' ');
    if (blank == Text::npos) break;
    title.resize(blank);
  } while (title.size() > 40);
  return title;
}

void Form_Load(Services& s, MainWindow& window) {
  Procedure p(s.messages, "Form_Load");
  p.step(100, [&] { LoadSkin(s, window); });
  if (p.test(102, [&] { return FileExists(s.files, besideProgram(s, kPointerFile)); })) {
    p.step(104, [&] { window.setMouseIcon(s.app.loadPicture(besideProgram(s, kPointerFile))); });
  }
  p.step(106, [&] { window.setCaption(kProductName); });
  p.step(106, [&] { window.setApplicationIcon(); });
  p.step(106, [&] { s.app.setTitle(applicationTitle(kProductName)); });
  p.step(110, [&] { VisitHomePage(s); });
  RestoreSettings(p, s, window);
}

void LoadSkin(Services& s, MainWindow& window) {
  if (s.files.kind(besideProgram(s, kSkinFile)) != PathKind::NormalFile) return;
  window.setBackColor(kButtonFace);
  const auto controls = window.controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ControlKind kind = controls[i];
    if (kind == ControlKind::OptionButton || kind == ControlKind::Frame || kind == ControlKind::Label) {
      window.setControlBackColor(i, kButtonFace);
    }
  }
  namespace skin = members::skin;
  Dispatch& control = window.skin();
  control.invoke(skin::LoadSkin, Invoke::Method, {besideProgram(s, kSkinFile), Text()});
  const std::int32_t options = toInt32(control.invoke(skin::ApplyOptions, Invoke::PropertyGet, {}));
  control.invoke(skin::ApplyOptions, Invoke::PropertyPut, {options | skin::DrawSkin});
  control.invoke(skin::SkinDialogs, Invoke::PropertyPut, {true});
  control.invoke(skin::UseFusionStyle, Invoke::PropertyPut, {true});
  control.invoke(skin::ApplyWindow, Invoke::Method, {static_cast<std::int32_t>(window.handle())});
}

void VisitHomePage(Services& s) {
  s.random.randomize(s.events.timer());
  const int n = static_cast<int>(s.random.next() * 100) + 1;
  if (n == 7) s.app.openAddress(addresses::kHomePage);
}

}  // namespace pw
