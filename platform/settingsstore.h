#pragma once
#include "platform/text.h"

namespace pw {

// Per-user persistent strings, addressed by application, section and key. Values of any length
// come back exactly as saved. A save replaces the value atomically.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored value, or `fallback` when the key is absent. Throws when the store cannot be read.
  virtual Text get(TextView app, TextView section, TextView key, TextView fallback) = 0;
  // Throws when the value cannot be written; the old value is then kept.
  virtual void save(TextView app, TextView section, TextView key, TextView value) = 0;
};

}  // namespace pw
