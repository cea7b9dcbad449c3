#pragma once
// What a user sees of a box on the screen, judged alike on every desktop: each desktop supplies
// only its own stacking order and its own picture of the screen.
#include <cstdint>
#include <string>
#include <vector>

// Not included: tests that include Xlib first would meet its macros in Qt's headers.
class QImage;

namespace pw::e2e {

// Where the inside of a window lies on the screen.
struct Area {
  int x = 0, y = 0, width = 0, height = 0;
};
// Of the X11 window `window` on `display`: an X server, or a compositor's XWayland, whose
// coordinates are the screen's.
Area areaOf(const std::string& display, unsigned long window);

// The screen's pixels as the desktop shows them, 0xRRGGBB, row by row.
struct ScreenImage {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
};
// From a picture in any format, such as a compositor's screenshot.
ScreenImage screenImage(const QImage& picture);
// Writes it to the test artifacts as `name`.png.
void saveScreenImage(const ScreenImage& screen, const std::string& name);

// Of the pixels inside `area`, the share that differ between two pictures of one screen.
double changedShare(const Area& area, const ScreenImage& before, const ScreenImage& now);

// How one of the program's boxes stands on the screen, as a user would see it.
struct BoxOnScreen {
  bool transientForMain = false;  // the window manager knows it belongs to the main window
  bool aboveAll = false;          // it is the topmost of the window manager's windows
  double changedShare = 0;        // of the pixels inside it, the share that differ from before it opened
  // That it is seen: above all, and its inside shows it rather than what lay there before.
  bool visible() const { return transientForMain && aboveAll && changedShare > 0.6; }
  std::string describe() const;
};

// Judges the X11 window `box` on `display` (an X server, or a compositor's XWayland): its owner
// and where it lies come from X11; whether it is topmost, and the pictures of the screen before
// it opened and now, from the desktop that shows it.
BoxOnScreen judgeBox(const std::string& display, unsigned long box, unsigned long main, bool topmost,
                     const ScreenImage& before, const ScreenImage& now);

}  // namespace pw::e2e
