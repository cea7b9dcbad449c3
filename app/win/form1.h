#pragma once
// The one window on Windows, in plain Win32: the controls where the layout puts them, their
// notifications wired to the same handlers the Qt window runs.
#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <optional>

#include "app/controls/skincontrol.h"
#include "app/layout.h"
#include "app/mainwindow.h"
#include "app/formevents.h"
#include "app/win/text1box.h"
#include "platform/services.h"

namespace pw::winui {

class Form1 final : public MainWindow {
 public:
  explicit Form1(Services& services);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Runs start-up, then shows the window with the focus on Text3.
  void load();
  HWND hwnd() const { return window_; }

  bool option(int number) override;
  Text text1() override { return text1_->text(); }
  void setText1(TextView text) override { text1_->setText(text); }
  void appendText1(TextView suffix) override { text1_->append(suffix); }
  Text text2() override;
  WindowHandle handle() override { return reinterpret_cast<WindowHandle>(window_); }
  void setOption(int number, bool value) override;
  void setText2(TextView text) override;
  void setCaption(TextView caption) override;
  void setApplicationIcon() override;
  void setMouseIcon(const Picture& picture) override;
  int mousePointer() override { return pointer_; }
  void setMousePointer(int code) override;
  void setBackColor(std::uint32_t colour) override;
  std::vector<ControlKind> controls() override;
  void setControlBackColor(std::size_t index, std::uint32_t colour) override;
  Dispatch& skin() override { return *skin_; }
  Dispatch& dialog() override { return *dialog_; }

  // The skin's colours, by the selectors of each rule.
  void applySkin(const std::vector<controls::SkinRule>& rules);

 private:
  struct Control {
    ControlKind kind;
    const layout::Control* entry;  // null for the dialog and skin controls
    HWND hwnd;
    std::optional<std::uint32_t> back, text;
  };

  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void createControls();
  void applyDpi(UINT dpi);
  void layOut();
  HWND control(layout::Ref ref) const;
  const Control* controlOf(HWND hwnd) const;
  void onCommand(int id, int code);
  void drawButton(const DRAWITEMSTRUCT& item);
  HBRUSH brushFor(HWND control, HDC dc);
  HBRUSH brush(std::uint32_t colour);
  void updateOptionTabStop();
  // An option was clicked or set: the tab stop follows, and a chosen one is saved.
  void optionChanged(int number);
  int px(int twips) const { return MulDiv(twips, dpi_, 1440); }

  Services& s_;
  FormEvents events_;
  std::unique_ptr<Dispatch> skin_;
  std::unique_ptr<Dispatch> dialog_;
  HWND window_ = nullptr;
  int dpi_ = 96;
  HFONT formFont_ = nullptr;
  HFONT buttonFont_ = nullptr;
  std::uint32_t back_ = kWhite;
  std::vector<Control> collection_;
  std::unique_ptr<Text1Box> text1_;
  std::map<std::uint32_t, HBRUSH> brushes_;
  int pointer_ = kPointerDefault;
  HCURSOR mouseIcon_ = nullptr;
  HICON icons_[2] = {};
};

}  // namespace pw::winui
