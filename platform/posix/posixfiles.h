#pragma once
#include "platform/files.h"

namespace pw::posix {

class PosixFiles final : public Files {
 public:
  PathKind kind(TextView path) override;
  void replaceText(TextView path, TextView text) override;
  void appendText(TextView path, TextView text) override;
};

}  // namespace pw::posix
