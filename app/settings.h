#pragma once
// The five remembered values (the browser choice, the collected text and the output file path):
// their keys, the runtime's conversions for them, writing them through, restoring them at start-up.
#include "app/mainwindow.h"
#include "errors/procedure.h"
#include "platform/services.h"

namespace pw {

inline constexpr TextView kSettingsApp = u"Kelvarin";
inline constexpr TextView kSettingsSection = u"Pagewick";

// The runtime's conversions. textToBoolean takes "True"/"False" in any case and numbers (0 is
// False); anything else is error 13, "Type mismatch".
Text booleanText(bool value);
bool textToBoolean(TextView text);
bool isBooleanText(TextView text);  // whether textToBoolean takes it

// Writes settings through as they change. A write that fails is told to the user once per run
// with a warning box; later changes are still written.
class SettingsWriter {
 public:
  explicit SettingsWriter(Services& services) : s_(services) {}
  void save(TextView key, TextView value);
  // Option1_Click, Option2_Click and Option3_Click: the whole choice, whichever was clicked.
  void optionClick(MainWindow& window);

 private:
  Services& s_;
  bool warned_ = false;
};

// The last steps of start-up (lines 128 to 136): each key into its control, whose own click or
// change handler then writes it back.
void RestoreSettings(Procedure& procedure, Services& services, MainWindow& window);

}  // namespace pw
