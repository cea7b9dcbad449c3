#pragma once
// The running program: its folder, title and main window, its end, and what it opens.
#include <functional>

#include "platform/picture.h"
#include "platform/text.h"
#include "platform/windowautomation.h"

namespace pw {

class Application {
 public:
  virtual ~Application() = default;
  // The folder that holds the executable, without a trailing separator.
  virtual Text path() = 0;
  virtual Text title() = 0;
  virtual void setTitle(TextView title) = 0;
  // The start-up window, once it exists: every message box is owned by it, so that a box stays
  // above it even while it is kept above other windows and another program is active.
  virtual WindowHandle mainWindow() = 0;
  virtual void setMainWindow(WindowHandle window) = 0;
  // Ends the process at once: no further handler runs.
  [[noreturn]] virtual void end() = 0;
  virtual Picture loadPicture(TextView path) = 0;
  // Opens a web address with the desktop's default handler, without waiting for it.
  virtual void openAddress(TextView address) = 0;
};

// What every backend's application keeps alike: the title, and what runs as the process ends
// (the last saves reach the disk, the clipboard's text is handed over).
class ApplicationBase : public Application {
 public:
  explicit ApplicationBase(std::function<void()> beforeEnd) : beforeEnd_(std::move(beforeEnd)) {}
  Text title() override { return title_; }
  void setTitle(TextView title) override { title_ = title; }
  WindowHandle mainWindow() override { return mainWindow_; }
  void setMainWindow(WindowHandle window) override { mainWindow_ = window; }

 protected:
  // Runs the hook and flushes the C streams; the backend then leaves the process at once.
  void prepareToEnd();

 private:
  Text title_ = u"Pagewick";
  WindowHandle mainWindow_ = 0;
  std::function<void()> beforeEnd_;
};

// How every backend words these failures. `detail`, when not empty, says why (": xdg-open was
// not found").
[[noreturn]] void throwNotAPicture(TextView path);
[[noreturn]] void throwNotAWebAddress(TextView address);
[[noreturn]] void throwAddressNotOpened(TextView address, TextView detail);

}  // namespace pw
