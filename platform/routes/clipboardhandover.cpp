#include "platform/routes/clipboardhandover.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <unistd.h>

#include "platform/qt/qtclipboard.h"
#include "platform/qtext/qtext.h"

extern char** environ;

namespace pw {

void handOverClipboard(const char* name, const std::string& text) {
  const std::string helper = QCoreApplication::applicationDirPath().toStdString() + "/" + name;
  int in[2], out[2];
  if (::pipe2(in, O_CLOEXEC) != 0) return;
  if (::pipe2(out, O_CLOEXEC) != 0) {
    ::close(in[0]);
    ::close(in[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  pid_t pid = 0;
  char* argv[] = {const_cast<char*>(helper.c_str()), nullptr};
  const bool started = posix_spawn(&pid, helper.c_str(), &actions, nullptr, argv, environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  if (started) {
    for (std::size_t done = 0; done < text.size();) {
      const ssize_t n = ::write(in[1], text.data() + done, text.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
  }
  ::close(in[1]);
  // The helper says "ready" once it owns the clipboard; ending before that would lose the text.
  pollfd ready{out[0], POLLIN, 0};
  if (started) ::poll(&ready, 1, kHandOverWait);
  ::close(out[0]);
}

void handOverQtClipboard(qt::QtClipboard& clipboard) {
  if (QGuiApplication::platformName() == u"xcb" && clipboard.ownsClipboard()) {
    handOverClipboard("pagewick-clipboard", toUtf8(clipboard.text(std::nullopt)));
  }
}

}  // namespace pw
