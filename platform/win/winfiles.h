#pragma once
#include <windows.h>

#include <string>

#include "platform/files.h"

namespace pw::win {

// Files through the Win32 file API; 8-bit text in the system's ANSI code page.
class WinFiles final : public Files {
 public:
  PathKind kind(TextView path) override;
  void replaceText(TextView path, TextView text) override;
  void appendText(TextView path, TextView text) override;
};

// `text` in code page `codePage` (CP_ACP: the system's). A character the code page has no form
// for is never replaced by a look-alike or "?": the call throws a RuntimeError naming it.
std::string encodeAnsi(TextView text, UINT codePage = CP_ACP);

}  // namespace pw::win
