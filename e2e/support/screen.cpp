#include "e2e/support/screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "e2e/support/xsession.h"

namespace pw::e2e {

Area screenArea(const std::string& display, unsigned long window) {
  Display* d = XOpenDisplay(display.c_str());
  XWindowAttributes attributes{};
  int x = 0, y = 0;
  Window child = 0;
  const bool known = XGetWindowAttributes(d, window, &attributes) &&
                     XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child);
  XCloseDisplay(d);
  if (!known) throw std::runtime_error("no such window: " + std::to_string(window));
  return {x, y, attributes.width, attributes.height};
}

ScreenImage::ScreenImage(const std::string& display) {
  Display* d = XOpenDisplay(display.c_str());
  const Window root = DefaultRootWindow(d);
  XWindowAttributes attributes{};
  XGetWindowAttributes(d, root, &attributes);
  XImage* image = XGetImage(d, root, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (image) {
    width_ = attributes.width;
    height_ = attributes.height;
    pixels_.reserve(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) pixels_.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
    }
    XDestroyImage(image);
  }
  XCloseDisplay(d);
  if (pixels_.empty()) throw std::runtime_error("the screen could not be read");
}

std::uint32_t ScreenImage::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFF;  // matches no colour
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void ScreenImage::save(XSession& session, const std::string& name) const {
  const std::string raw = session.folder() + "/" + name + ".ppm";
  {
    std::ofstream out(raw, std::ios::binary);
    out << "P6\n" << width_ << ' ' << height_ << "\n255\n";
    for (std::uint32_t p : pixels_) {
      const char rgb[] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
      out.write(rgb, 3);
    }
  }
  std::filesystem::create_directories(PAGEWICK_E2E_ARTIFACTS);
  session.run({"convert", raw, std::string(PAGEWICK_E2E_ARTIFACTS) + "/" + name + ".png"});
}

}  // namespace pw::e2e
