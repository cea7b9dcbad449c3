#include "e2e/support/screen.h"

#include <QImage>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <filesystem>

namespace pw::e2e {

Area areaOf(const std::string& display, unsigned long window) {
  Display* d = XOpenDisplay(display.c_str());
  Window root = 0, child = 0;
  int x = 0, y = 0;
  unsigned int width = 0, height = 0, border = 0, depth = 0;
  Area area;
  if (XGetGeometry(d, window, &root, &x, &y, &width, &height, &border, &depth) &&
      XTranslateCoordinates(d, window, root, 0, 0, &area.x, &area.y, &child)) {
    area.width = static_cast<int>(width);
    area.height = static_cast<int>(height);
  }
  XCloseDisplay(d);
  return area;
}

ScreenImage screenImage(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  ScreenImage screen{rgb.width(), rgb.height(), {}};
  screen.pixels.reserve(static_cast<std::size_t>(screen.width) * static_cast<std::size_t>(screen.height));
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) screen.pixels.push_back(row[x] & 0xFFFFFF);
  }
  return screen;
}

void saveScreenImage(const ScreenImage& screen, const std::string& name) {
  QImage picture(screen.width, screen.height, QImage::Format_RGB32);
  for (int y = 0; y < screen.height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < screen.width; ++x) row[x] = 0xFF000000 | screen.pixels[static_cast<std::size_t>(y * screen.width + x)];
  }
  std::filesystem::create_directories(PAGEWICK_E2E_ARTIFACTS);
  picture.save(QString::fromStdString(std::string(PAGEWICK_E2E_ARTIFACTS) + "/" + name + ".png"));
}

namespace {

bool transientFor(const std::string& display, unsigned long window, unsigned long owner) {
  Display* d = XOpenDisplay(display.c_str());
  Window found = 0;
  const bool set = XGetTransientForHint(d, window, &found);
  XCloseDisplay(d);
  return set && found == owner;
}

}  // namespace

double changedShare(const Area& area, const ScreenImage& before, const ScreenImage& now) {
  if (before.width != now.width || before.height != now.height) return 0;
  long changed = 0, all = 0;
  for (int y = std::max(area.y, 0); y < std::min(area.y + area.height, now.height); ++y) {
    for (int x = std::max(area.x, 0); x < std::min(area.x + area.width, now.width); ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(now.width) + static_cast<std::size_t>(x);
      changed += now.pixels[at] != before.pixels[at];
      ++all;
    }
  }
  return all ? static_cast<double>(changed) / static_cast<double>(all) : 0;
}

BoxOnScreen judgeBox(const std::string& display, unsigned long box, unsigned long main, bool topmost,
                     const ScreenImage& before, const ScreenImage& now) {
  return {transientFor(display, box, main), topmost, changedShare(areaOf(display, box), before, now)};
}

std::string BoxOnScreen::describe() const {
  return std::string("transient for the main window: ") + (transientForMain ? "yes" : "no") +
         ", topmost: " + (aboveAll ? "yes" : "no") + ", share of its pixels changed: " + std::to_string(changedShare);
}

}  // namespace pw::e2e
