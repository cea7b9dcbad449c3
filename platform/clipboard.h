#pragma once
#include <optional>

#include "platform/text.h"

namespace pw {

// The system clipboard. Each call is one attempt: it completes or throws a RuntimeError (for
// example while another program holds the clipboard). No format means plain text; a format number
// is a Windows clipboard format and fails where the backend does not know it.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void clear() = 0;
  virtual void setText(TextView text, std::optional<int> format) = 0;
  // "" when the clipboard holds no text in that format.
  virtual Text text(std::optional<int> format) = 0;
  // Whether plain text is on offer now; cheap, never fails.
  virtual bool hasText() = 0;
};

// How long another program may keep a clipboard request unanswered before it counts as not
// answering. A browser busy with a large page on a loaded machine took over 300 ms; Qt alone waits
// 5 s for each of the three requests a read makes, which froze the window for 15 s.
inline constexpr int kOwnerAnswerMs = 2000;

// The clipboard formats that mean plain text (1, 7, 13: text, OEM text, Unicode text); every
// backend offers text alone. Throws for any other format.
void checkTextFormat(std::optional<int> format);

}  // namespace pw
