#pragma once
#include <map>
#include <set>
#include <string>

#include "platform/posix/durablereplace.h"
#include "platform/settingsstore.h"

namespace pw::posix {

// One file per key: <root>/<application>/<section>/<key>. A save writes a new file beside the old
// one and replaces the old one durably (see DurableReplace): a crash or a power cut leaves the old
// or the new value, never a mix.
//
// The file is the value's UTF-16 units, little-endian, after a byte-order mark: the text box's
// whole text is saved on every keystroke, and this form is written straight from memory and
// keeps every string exactly. A file without the mark is read as UTF-8, for values written by hand.
//
// A value that cannot be read (damaged, cut short, not a file, more than memory can hold) is moved
// to "<key>.unreadable-<date>" beside it before anything can be saved in its place.
class FileSettingsStore final : public SettingsStore {
 public:
  // `root` is the folder that holds the applications' folders.
  explicit FileSettingsStore(std::string root);
  // $XDG_CONFIG_HOME, or ~/.config.
  static std::string defaultRoot();

  Text get(TextView app, TextView section, TextView key, TextView fallback) override;
  void save(TextView app, TextView section, TextView key, TextView value) override;
  Text setAside(TextView app, TextView section, TextView key) override;
  void flush() override;

  std::string keyPath(TextView app, TextView section, TextView key) const;

 private:
  [[noreturn]] void unreadable(TextView key, const std::string& path, TextView reason, bool moveIt = true);
  void removeLeftovers(const std::string& folder);
  bool holdsAlready(const std::string& path, TextView value);

  std::string root_;
  DurableReplace replace_;
  std::map<std::string, Text> kept_;  // unreadable values that could not be moved: never saved over
  std::set<std::string> tidied_;      // folders already cleared of dead writers' temporary files
  // Files as get() read them, until the next save of their key: the file's identity and time.
  struct Read {
    dev_t device;
    ino_t inode;
    off_t size;
    timespec modified;
  };
  std::map<std::string, Read> read_;
};

// A name that is safe as one path component: letters, digits, '-', '_' and inner '.' stay,
// every other byte becomes %XX.
std::string escapeName(TextView name);

}  // namespace pw::posix
