// pagewick-wayland-clipboard: keeps text on the Wayland clipboard after Pagewick has ended. Reads
// the text (UTF-8) from standard input, takes the clipboard, writes "ready" to standard output,
// and serves the text until another program takes the clipboard.
#include <cstdio>
#include <iostream>
#include <iterator>

#include "platform/runtimeerror.h"
#include "platform/wayland/dataclipboard.h"
#include "platform/wayland/connection.h"

int main() {
  const std::string text(std::istreambuf_iterator<char>(std::cin), {});
  try {
    pw::wayland::Connection connection;
    if (!pw::wayland::DataClipboard::supported(connection)) return 1;
    pw::wayland::DataClipboard clipboard(connection);
    clipboard.setText(pw::fromUtf8(text), std::nullopt);
    std::puts("ready");
    std::fflush(stdout);
    while (clipboard.ownText()) connection.dispatch(-1);
  } catch (const pw::RuntimeError&) {
    return 1;  // the compositor has gone, and the clipboard with it
  }
  return 0;
}
