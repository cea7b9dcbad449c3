#pragma once
#include <set>

#include "platform/settingsstore.h"

namespace pw::win {

// Settings as REG_SZ values under HKEY_CURRENT_USER\<root>\<app>\<section>. A value is stored
// with its exact UTF-16 units, line breaks and all; Windows replaces a value atomically.
class RegistrySettingsStore final : public SettingsStore {
 public:
  explicit RegistrySettingsStore(Text root = u"Software") : root_(std::move(root)) {}
  Text get(TextView app, TextView section, TextView key, TextView fallback) override;
  void save(TextView app, TextView section, TextView key, TextView value) override;
  // Copies the value, with its type, to "<key>.unreadable-<date>" and deletes it.
  Text setAside(TextView app, TextView section, TextView key) override;

 private:
  Text keyPath(TextView app, TextView section) const;
  Text root_;
  std::set<Text> kept_;  // values that could not be moved aside: never saved over
};

}  // namespace pw::win
