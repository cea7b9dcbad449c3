#pragma once
// The window's events and what each runs, for every window: a window forwards its toolkit's
// signals or messages here and wires nothing else by hand.
#include "app/mainwindow.h"
#include "app/settings.h"
#include "platform/services.h"

namespace pw {

class FormEvents {
 public:
  FormEvents(Services& services, MainWindow& window) : s_(services), window_(window), settings_(services) {}
  // Push button `number` was clicked: its handler runs.
  void buttonClicked(int number);
  // An option button became the chosen one: the whole choice is saved.
  void optionChosen() { settings_.optionClick(window_); }
  // Text1 or Text2 changed: its text is saved at once.
  void textChanged(int number);

 private:
  Services& s_;
  MainWindow& window_;
  SettingsWriter settings_;
};

}  // namespace pw
