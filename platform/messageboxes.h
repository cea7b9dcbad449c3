#pragma once
#include <optional>

#include "platform/text.h"

namespace pw {

namespace mb {
constexpr int Ok = 0;               // buttons: OK alone
constexpr int YesNo = 4;            // buttons: Yes and No
constexpr int Exclamation = 48;     // OK with the warning icon
constexpr int AnswerOk = 1;
constexpr int AnswerYes = 6;
constexpr int AnswerNo = 7;
}  // namespace mb

// Modal message boxes. Without a title the box carries the application's title.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual int show(TextView prompt, int style, std::optional<Text> title) = 0;
};

}  // namespace pw
