#pragma once
// A Wine prefix of its own in an X session, for driving the Windows build from outside: the
// program, stand-in browser windows, and a probe that reads what only a Windows program can see
// exactly (the clipboard's UTF-16 text, the registry, the topmost style).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "e2e/support/program.h"

namespace pw::e2e {

struct PageOptions {
  bool minimized = false;
  bool copies = true;  // false: it never answers Ctrl+C
};

// A control of Pagewick's window as seen from inside Wine.
struct ShownControl {
  int id;
  int left, top, width, height;  // in the window's inside
  int captionWidth;              // its caption in the layout's font at the window's DPI
};

struct ShownLayout {
  int width = 0, height = 0, dpi = 0;  // the window's inside
  std::vector<ShownControl> controls;
};

class WinePrefix {
 public:
  // Sets the prefix up in the session's folder. `locale` decides the ANSI code page; it need not
  // be installed, so text reaches Wine through files, never through a command line.
  WinePrefix(XSession& session, const std::string& locale);
  ~WinePrefix();

  // The Windows name of a path on this machine (Wine's drive Z: is the root).
  static std::string windowsPath(const std::string& path);
  // The Windows build, recording its message boxes.
  Launch pagewick() const;
  // A stand-in browser window titled `title` showing `text`; waits until it is on the screen.
  void openPage(const Text& title, const Text& text, PageOptions options = {});

  unsigned codePage();  // Windows' ANSI code page, read once
  std::optional<Text> clipboard();
  void offerClipboard(const Text& text);
  std::optional<Text> setting(const std::string& key) const;
  void saveSetting(const std::string& key, const Text& value);
  void saveNumber(const std::string& key);  // a number where text belongs
  void forgetSettings();
  bool topmost(const Text& title);  // by the exact title
  // Whether the message box titled `title` is owned by Pagewick's window.
  bool ownedByPagewick(const Text& title);
  // The DPI of every program started from now on; ends those that run.
  void setDpi(int dpi);
  ShownLayout layout();
  // The manifest pagewick.exe carries, then "running: " and the DPI awareness of Pagewick's
  // window ("unaware", "system", "per-monitor").
  std::string manifest();

 private:
  // Wine with `args`, in the prefix's locale.
  std::vector<std::string> wine(const std::vector<std::string>& args) const;
  void endWine() const;  // every program of the prefix, and its server
  int probe(const std::vector<std::string>& args) const;
  std::string writeUnits(const std::string& name, const Text& text) const;
  std::optional<Text> readUnits(int status, const std::string& file) const;

  XSession& session_;
  std::string folder_;
  std::string locale_;
  bool withoutTmpdir_ = false;
  int pages_ = 0;
  unsigned codePage_ = 0;
};

}  // namespace pw::e2e
