#pragma once
// A private X server for end-to-end tests: Xvfb on a display it picks itself, protected by a
// cookie, with openbox when asked, and the browsers the tests drive. Everything started here is
// stopped by its process id when the session ends.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"
#include "platform/windowmatch.h"
#include "tests/doubles/tempdir.h"

namespace pw::e2e {

class Process {
 public:
  Process() = default;
  // Output goes to `logFile`; errors too, unless `errorFile` names another.
  Process(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
          const std::string& logFile, int displayFd = -1, const std::string& errorFile = {});
  Process(Process&& other) noexcept : pid_(other.pid_) { other.pid_ = -1; }
  Process& operator=(Process&& other) noexcept;
  ~Process() { stop(); }
  int pid() const { return pid_; }
  bool running();
  // Waits for the process to end; its wait status, or -1 when it did not end in time.
  int wait(int timeoutMs);
  // SIGTERM to the process group it leads, SIGKILL after a grace period.
  void stop();

 private:
  int pid_ = -1;
};

// What every test session has: a private folder for its files and logs, the programs it started,
// and the environment that points a program at its display.
class Session {
 public:
  virtual ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  const std::string& folder() const { return folder_.path(); }

  // Firefox ESR, or the Firefox PAGEWICK_E2E_FIREFOX names; in a private window where
  // PAGEWICK_E2E_FIREFOX_PRIVATE is set.
  void startFirefox(const std::string& url);
  void startChromium(const std::string& url);
  // Waits (generously) until a window's title contains `part`.
  virtual bool waitForWindow(TextView part, int timeoutMs = 60000) = 0;
  // Starts a program in the session; the session stops it at the end unless the caller does.
  Process& start(const std::vector<std::string>& argv, const std::map<std::string, std::string>& extraEnv,
                 const std::string& logName);
  // Runs a helper such as setxkbmap, xdotool or swaymsg in the session; returns its exit status.
  int run(const std::vector<std::string>& argv);
  // Its standard output, without what it says on standard error.
  std::string output(const std::vector<std::string>& argv);
  // Writes `content` to a file in the session's folder; returns its path.
  std::string writeFile(const std::string& name, const std::string& content);
  // Points this process at the session, so that Qt and the backends connect to it.
  void exportEnvironment() const;

 protected:
  // Makes the folder, /tmp/pagewick-<kind>-XXXXXX.
  explicit Session(const std::string& kind);
  Process& keep(std::unique_ptr<Process> process);
  // What the desktop's user does before starting a browser, where that matters.
  virtual void beforeBrowser() {}
  // Stops every program started here, last-started first.
  void stopAll();

  // What programs started here get, besides a temporary folder in the session's (TMPDIR); a value
  // "" means the variable is removed.
  std::map<std::string, std::string> env_;
  std::vector<std::string> chromiumFlags_;
  std::string firefoxPrefs_;  // lines for Firefox's user.js besides the tests' own

 private:
  std::map<std::string, std::string> environment(const std::map<std::string, std::string>& extraEnv = {}) const;

  test::TempDir folder_;
  std::vector<std::unique_ptr<Process>> processes_;  // stopped last-started first
};

std::string randomHex(int bytes);

struct SessionOptions {
  bool windowManager = true;
};

class XSession final : public Session {
 public:
  explicit XSession(SessionOptions options = {});
  const std::string& display() const { return display_; }

  bool waitForWindow(TextView part, int timeoutMs = 60000) override;
  // Waits until a managed window satisfies `wanted`; its handle, or none after the bound.
  std::optional<unsigned long> waitForWindow(const std::function<bool(const WindowCandidate&)>& wanted,
                                             int timeoutMs = 60000);
  // What a failed wait for a window needs to be understood: whether the window manager still
  // runs and where it waits, the root's window-manager properties and the windows on the screen.
  std::string describe();

 private:
  void waitForWindowManager();
  std::string display_;
  Process* windowManager_ = nullptr;
};

}  // namespace pw::e2e
