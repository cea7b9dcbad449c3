#pragma once
// The window's controls: where each one sits, what it says, and the order the keyboard visits
// them, for every window that shows them. Positions are in twips (15 to a pixel at 96 dpi).
#include <array>

#include "app/mainwindow.h"

namespace pw::layout {

struct Rect {
  int left, top, width, height;
};

struct Control {
  ControlKind kind;
  int number;  // Text3, Frame2, Command button 6, ...
  int frame;   // the frame it sits in, or 0 for the window itself
  const char16_t* caption;
  Rect at;
};

inline constexpr Rect kForm{0, 0, 8040, 7245};  // the window's inside

// In the order of the control collection; a frame's children right after it.
inline constexpr std::array<Control, 18> kControls{{
    {ControlKind::TextBox, 3, 0, u"Text3", {360, 7590, 1455, 735}},
    {ControlKind::Frame, 2, 0, u"Option 2: Copy To Text File", {120, 5280, 7800, 1845}},
    {ControlKind::TextBox, 2, 2, u"", {1080, 300, 5760, 345}},
    {ControlKind::PushButton, 6, 2, u"...", {6840, 300, 720, 345}},
    {ControlKind::PushButton, 3, 2, u"Clear Contents Of Text File", {240, 1260, 7320, 405}},
    {ControlKind::PushButton, 4, 2, u"Copy Browser Text and Append To Text File", {240, 750, 7320, 405}},
    {ControlKind::Label, 2, 2, u"Text File:", {240, 330, 840, 225}},  // to Text2: 750 cut the colon off
    {ControlKind::Frame, 5, 0, u"Option 1: Copy To Text Box", {120, 2100, 7800, 3135}},
    {ControlKind::TextBox, 1, 5, u"", {240, 510, 7320, 1410}},
    {ControlKind::PushButton, 1, 5, u"Clear Text Box", {240, 2550, 3600, 405}},
    {ControlKind::PushButton, 2, 5, u"Copy Browser Text and Append To Text Box", {240, 2040, 7320, 405}},
    {ControlKind::PushButton, 5, 5, u"Copy Text Box To Clipboard", {3960, 2550, 3600, 405}},
    {ControlKind::Label, 1, 5, u"Text Box:", {240, 270, 900, 225}},  // 795 cut the colon off
    {ControlKind::PushButton, 9, 0, u"Help", {120, 120, 7800, 405}},
    {ControlKind::Frame, 1, 0, u"Which Browser?", {120, 600, 7800, 1455}},
    {ControlKind::OptionButton, 3, 1, u"Firefox", {240, 1000, 1935, 225}},
    {ControlKind::OptionButton, 2, 1, u"Chrome", {240, 650, 1935, 225}},
    {ControlKind::OptionButton, 1, 1, u"Internet Explorer", {240, 300, 1935, 225}},
}};

// A Win32 control's identifier: this plus its place in kControls.
inline constexpr int kFirstControlId = 1000;

// The control's name in the program (Text1, Frame2, Option3, Label1, PushButton4), which the
// window gives its widget, where automation tools find it.
inline Text controlName(const Control& c) {
  static constexpr const char16_t* kPrefixes[] = {u"Text", u"Frame", u"Option", u"Label", u"PushButton"};
  return kPrefixes[static_cast<int>(c.kind)] + Text(1, static_cast<char16_t>(u'0' + c.number));
}

// Where a control lies in the window's inside: the controls of a frame are placed from the
// frame's corner.
constexpr Rect inWindow(const Control& c) {
  Rect at = c.at;
  for (const Control& frame : kControls) {
    if (frame.kind == ControlKind::Frame && frame.number == c.frame) {
      at.left += frame.at.left;
      at.top += frame.at.top;
    }
  }
  return at;
}

// The controls that start white, as the window does: the frames, the option and push buttons,
// and Text2. The others keep the desktop's colours until a skin says otherwise.
constexpr bool startsWhite(const Control& c) {
  return c.kind == ControlKind::Frame || c.kind == ControlKind::OptionButton || c.kind == ControlKind::PushButton ||
         (c.kind == ControlKind::TextBox && c.number == 2);
}

struct Ref {
  ControlKind kind;
  int number;
};

// By tab index; the hidden Text3 has the focus first.
inline constexpr std::array<Ref, 13> kTabOrder{{
    {ControlKind::TextBox, 3},    {ControlKind::PushButton, 9}, {ControlKind::OptionButton, 1},
    {ControlKind::OptionButton, 2}, {ControlKind::OptionButton, 3}, {ControlKind::TextBox, 1},
    {ControlKind::PushButton, 2}, {ControlKind::PushButton, 1}, {ControlKind::TextBox, 2},
    {ControlKind::PushButton, 6}, {ControlKind::PushButton, 4}, {ControlKind::PushButton, 3},
    {ControlKind::PushButton, 5},
}};

// The fonts: the window's, which its controls take, and the push buttons' own.
struct Font {
  const char16_t* face;
  double points;
  bool bold;
  int charset;  // Windows' character set: 204 is Cyrillic
};
inline constexpr Font kFormFont{u"Arial", 9, true, 204};
inline constexpr Font kButtonFont{u"Arial", 11.25, true, 204};

}  // namespace pw::layout
