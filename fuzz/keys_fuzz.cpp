// The keystroke notation: any text either parses or fails with a runtime error.
#include <cstddef>
#include <cstdint>

#include "platform/keystrokes.h"
#include "platform/runtimeerror.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pw::Text keys(reinterpret_cast<const char16_t*>(data), size / 2);
  try {
    for (const pw::KeyStroke& stroke : pw::parseKeys(keys)) {
      if (stroke.named == pw::NamedKey::NotNamed && stroke.character == 0 && keys.find(u'\0') == pw::Text::npos) __builtin_trap();
    }
  } catch (const pw::RuntimeError&) {
  }
  return 0;
}
