#pragma once
#include "platform/text.h"

namespace pw {

// Per-user persistent strings, addressed by application, section and key. Values of any length
// come back exactly as saved. A save replaces the value atomically.
//
// A stored value that cannot be read is never saved over: get() moves it aside first and says
// where it went, or refuses every later save of that key.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored value, or `fallback` when the key is absent. Throws when the store cannot be read.
  virtual Text get(TextView app, TextView section, TextView key, TextView fallback) = 0;
  // Throws when the value cannot be written; the old value is then kept.
  virtual void save(TextView app, TextView section, TextView key, TextView value) = 0;
  // Moves a value the caller cannot use out of the way of the next save, under a name beside it;
  // returns that name for the user ("" when nothing was stored). Throws when it cannot.
  virtual Text setAside(TextView app, TextView section, TextView key) = 0;
  // Returns when every save so far has reached the disk; saves may finish after save() returns.
  virtual void flush() {}
};

}  // namespace pw
