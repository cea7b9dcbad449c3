#pragma once
// What the X server shows, read back as pixels: for checking that a window is really seen, not
// only listed, and for keeping the picture beside the test's verdict.
#include <cstdint>
#include <string>
#include <vector>

namespace pw::e2e {

class XSession;

struct Area {
  int x, y, width, height;
};

// Where `window` lies on the screen, its inside without the window manager's frame.
Area screenArea(const std::string& display, unsigned long window);

class ScreenImage {
 public:
  // The whole screen now.
  explicit ScreenImage(const std::string& display);
  std::uint32_t pixel(int x, int y) const;  // 0xRRGGBB
  // As e2e/artifacts/<name>.png.
  void save(XSession& session, const std::string& name) const;

 private:
  int width_ = 0, height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace pw::e2e
