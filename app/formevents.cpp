#include "app/formevents.h"

#include "app/capturecommands.h"
#include "app/commands.h"

namespace pw {

void FormEvents::buttonClicked(int number) {
  switch (number) {
    case 1: return PushButton1_Click(s_, window_);
    case 2: return PushButton2_Click(s_, window_);
    case 3: return PushButton3_Click(s_, window_);
    case 4: return PushButton4_Click(s_, window_);
    case 5: return PushButton5_Click(s_, window_);
    case 6: return PushButton6_Click(s_, window_);
    case 9: return PushButton9_Click(s_);
    default: return;
  }
}

void FormEvents::textChanged(int number) {
  if (number == 1) settings_.save(u"Text1", window_.text1());
  if (number == 2) settings_.save(u"Text2", window_.text2());
}

}  // namespace pw
