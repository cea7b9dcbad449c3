#pragma once
#include <string>

#include "platform/settingsstore.h"

namespace pw::posix {

// One file per key: <root>/<application>/<section>/<key>. A save writes a new file beside the old
// one and renames it over, so a crash leaves the old or the new value, never a mix.
//
// The file is the value's UTF-16 units, little-endian, after a byte-order mark: the text box's
// whole text is saved on every keystroke, and this form is written straight from memory and
// keeps every string exactly. A file without the mark is read as UTF-8, for values written by hand.
class FileSettingsStore final : public SettingsStore {
 public:
  // `root` is the folder that holds the applications' folders.
  explicit FileSettingsStore(std::string root);
  // $XDG_CONFIG_HOME, or ~/.config.
  static std::string defaultRoot();

  Text get(TextView app, TextView section, TextView key, TextView fallback) override;
  void save(TextView app, TextView section, TextView key, TextView value) override;

  std::string keyPath(TextView app, TextView section, TextView key) const;

 private:
  std::string root_;
};

// A name that is safe as one path component: letters, digits, '-', '_' and inner '.' stay,
// every other byte becomes %XX.
std::string escapeName(TextView name);

}  // namespace pw::posix
