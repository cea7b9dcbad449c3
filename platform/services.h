#pragma once
// Everything the program asks of the desktop, handed to each handler as one bundle.
#include "platform/application.h"
#include "platform/clipboard.h"
#include "platform/eventpump.h"
#include "platform/files.h"
#include "platform/messageboxes.h"
#include "platform/random.h"
#include "platform/savedialog.h"
#include "platform/settingsstore.h"
#include "platform/windowautomation.h"

namespace pw {

struct Services {
  WindowAutomation& automation;
  WindowStacking& stacking;
  Clipboard& clipboard;
  EventPump& events;
  SettingsStore& settings;
  MessageBoxes& messages;
  SaveDialog& saveDialog;
  Files& files;
  Application& app;
  Random& random;
};

}  // namespace pw
