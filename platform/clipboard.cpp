#include "platform/clipboard.h"

#include "platform/runtimeerror.h"

namespace pw {

void checkTextFormat(std::optional<int> format) {
  if (!format || *format == 1 || *format == 7 || *format == 13) return;
  throw RuntimeError(err::ClipboardFormat, u"The clipboard format " + number(*format) +
                                               u" is not supported; only text (1, 7 or 13) is.");
}

}  // namespace pw
