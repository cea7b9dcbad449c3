// Text to Boolean: True, False or error 13, and never anything else.
#include <cstddef>
#include <cstdint>

#include "app/settings.h"
#include "platform/runtimeerror.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pw::Text text(reinterpret_cast<const char16_t*>(data), size / 2);
  try {
    const bool value = pw::textToBoolean(text);
    // What converts back must convert to the same value.
    if (pw::textToBoolean(pw::booleanText(value)) != value) __builtin_trap();
  } catch (const pw::RuntimeError& e) {
    if (e.number() != pw::err::TypeMismatch) __builtin_trap();
  }
  return 0;
}
