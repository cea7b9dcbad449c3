#include "e2e/support/xsession.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <X11/Xlib.h>

#include "platform/windowmatch.h"
#include "platform/x11/x11windows.h"

extern char** environ;

namespace pw::e2e {
namespace {

using namespace std::chrono_literals;

}  // namespace

std::string randomHex(int bytes) {
  std::ifstream urandom("/dev/urandom", std::ios::binary);
  std::string out;
  static const char* hex = "0123456789abcdef";
  for (int i = 0; i < bytes; ++i) {
    unsigned char b = static_cast<unsigned char>(urandom.get());
    out += hex[b >> 4];
    out += hex[b & 15];
  }
  return out;
}

namespace {

std::vector<std::string> mergedEnvironment(const std::map<std::string, std::string>& overrides) {
  std::map<std::string, std::string> all;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    auto eq = entry.find('=');
    if (eq != std::string::npos) all[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const auto& [k, v] : overrides) all[k] = v;
  std::vector<std::string> out;
  for (const auto& [k, v] : all) {
    if (!v.empty()) out.push_back(k + "=" + v);
  }
  return out;
}

int waitExit(int pid, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  for (;;) {
    int status = 0;
    int r = waitpid(pid, &status, WNOHANG);
    if (r == pid) return status;
    if (r < 0) return -1;
    if (std::chrono::steady_clock::now() > deadline) return -2;
    std::this_thread::sleep_for(10ms);
  }
}

}  // namespace

Process::Process(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
                 const std::string& logFile, int displayFd, const std::string& errorFile) {
  std::vector<std::string> envStrings = mergedEnvironment(env);
  std::vector<char*> args, envp;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (auto& e : envStrings) envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (errorFile.empty()) {
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  } else {
    posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  }
  if (displayFd >= 0) posix_spawn_file_actions_adddup2(&actions, displayFd, 3);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  int rc = posix_spawnp(&pid_, args[0], &actions, &attributes, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (rc != 0) {
    pid_ = -1;
    throw std::runtime_error("cannot start " + argv[0]);
  }
}

Process& Process::operator=(Process&& other) noexcept {
  stop();
  pid_ = other.pid_;
  other.pid_ = -1;
  return *this;
}

int Process::wait(int timeoutMs) {
  if (pid_ <= 0) return -1;
  int status = waitExit(pid_, std::chrono::milliseconds(timeoutMs));
  if (status == -2) return -1;
  pid_ = -1;
  return status;
}

bool Process::running() {
  if (pid_ <= 0) return false;
  if (waitpid(pid_, nullptr, WNOHANG) == 0) return true;
  pid_ = -1;  // reaped
  return false;
}

void Process::stop() {
  if (pid_ <= 0) return;
  kill(-pid_, SIGTERM);
  if (waitExit(pid_, 5000ms) == -2) {
    kill(-pid_, SIGKILL);
    waitExit(pid_, 5000ms);
  }
  kill(-pid_, SIGKILL);  // helpers the process left behind in its group
  pid_ = -1;
}

Session::Session(const std::string& kind) : folder_(kind) {
  // Open to all, as /tmp is: sway runs as nobody.
  std::filesystem::create_directory(folder_ / "tmp");
  ::chmod((folder_ / "tmp").c_str(), 01777);
}

Session::~Session() {
  stopAll();
  // PAGEWICK_E2E_KEEP keeps the logs of the session's programs for a look afterwards.
  if (std::getenv("PAGEWICK_E2E_KEEP")) {
    std::fprintf(stderr, "session kept in %s\n", folder().c_str());
    folder_.keep();
  }
}

void Session::stopAll() {
  while (!processes_.empty()) processes_.pop_back();
}

Process& Session::keep(std::unique_ptr<Process> process) {
  processes_.push_back(std::move(process));
  return *processes_.back();
}

XSession::XSession(SessionOptions options) : Session("x") {
  const std::string auth = folder() + "/Xauthority";
  const std::string cookie = randomHex(16);
  std::ofstream(auth).close();
  // The server takes every cookie in the file; the client looks one up by display number, so the
  // entry is added again once Xvfb has said which display it took.
  run({"xauth", "-q", "-f", auth, "add", ":0", ".", cookie});

  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe");
  keep(std::make_unique<Process>(
      std::vector<std::string>{"Xvfb", "-displayfd", "3", "-auth", auth, "-nolisten", "tcp", "-screen", "0",
                               "1280x1024x24"},
      std::map<std::string, std::string>{}, folder() + "/xvfb.log", fds[1]));
  close(fds[1]);
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  while (poll(&p, 1, 30000) > 0) {
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) throw std::runtime_error("Xvfb did not start; see " + folder() + "/xvfb.log");
  display_ = ":" + number;
  run({"xauth", "-q", "-f", auth, "add", display_, ".", cookie});
  env_ = {{"DISPLAY", display_}, {"XAUTHORITY", auth}, {"WAYLAND_DISPLAY", ""}, {"MOZ_ENABLE_WAYLAND", "0"}};
  exportEnvironment();

  if (options.windowManager) {
    windowManager_ = &start({"openbox", "--sm-disable"}, {}, "openbox.log");
    waitForWindowManager();
  }
}

// openbox announces itself (_NET_SUPPORTING_WM_CHECK) before it starts listening for events, and
// windows mapped in between were seen to stay unmanaged while it sat idle. The session is ready
// once a window mapped after the announcement is managed; a probe still unmanaged after a second
// is followed by another, whose map request is a new event.
void XSession::waitForWindowManager() {
  x11::X11Windows windows(display_.c_str());
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while (!windows.windowManagerRunning()) {
    if (std::chrono::steady_clock::now() >= deadline) throw std::runtime_error("openbox did not start");
    std::this_thread::sleep_for(20ms);
  }
  Display* d = XOpenDisplay(display_.c_str());
  std::vector<Window> probes;
  bool ready = false;
  while (!ready && std::chrono::steady_clock::now() < deadline) {
    const Window probe = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
    XStoreName(d, probe, "pagewick-session-probe");
    XMapWindow(d, probe);
    XSync(d, False);
    probes.push_back(probe);
    ready = waitForWindow([&](const WindowCandidate& w) { return w.handle == probe; }, 1000).has_value();
  }
  for (Window probe : probes) XDestroyWindow(d, probe);
  XCloseDisplay(d);
  if (!ready) throw std::runtime_error("openbox did not manage windows");
}

std::string XSession::describe() {
  std::string text = windowManager_ ? (windowManager_->running() ? "openbox runs\n" : "openbox has ended\n")
                                    : "no window manager\n";
  text += output({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK", "_NET_CLIENT_LIST", "_NET_ACTIVE_WINDOW"});
  text += output({"xwininfo", "-root", "-children"});
  if (windowManager_ && windowManager_->running()) {
    text += output({"gdb", "-p", std::to_string(windowManager_->pid()), "-batch", "-ex", "thread apply all bt"});
  }
  return text;
}

void Session::exportEnvironment() const {
  for (const auto& [k, v] : env_) {
    if (v.empty()) unsetenv(k.c_str());
    else setenv(k.c_str(), v.c_str(), 1);
  }
}

void Session::startFirefox(const std::string& url) {
  beforeBrowser();
  const std::string profile = folder() + "/firefox-profile";
  std::filesystem::create_directories(profile);
  std::ofstream(profile + "/user.js") << R"(user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("startup.homepage_welcome_url", "");
user_pref("startup.homepage_welcome_url.additional", "");
user_pref("browser.aboutwelcome.enabled", false);
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("datareporting.policy.firstRunURL", "");
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
user_pref("app.update.enabled", false);
user_pref("browser.sessionstore.resume_from_crash", false);
user_pref("network.captive-portal-service.enabled", false);
user_pref("network.connectivity-service.enabled", false);
user_pref("browser.tabs.warnOnClose", false);
user_pref("extensions.autoDisableScopes", 15);
)" << firefoxPrefs_;
  const char* firefox = std::getenv("PAGEWICK_E2E_FIREFOX");
  std::vector<std::string> argv{firefox ? firefox : "firefox-esr", "--no-remote", "--new-instance", "--profile", profile};
  if (std::getenv("PAGEWICK_E2E_FIREFOX_PRIVATE")) argv.push_back("--private-window");
  argv.push_back(url);
  start(argv, {{"HOME", folder()}}, "firefox.log");
}

void Session::startChromium(const std::string& url) {
  beforeBrowser();
  std::vector<std::string> argv{"chromium", "--no-sandbox", "--no-first-run", "--no-default-browser-check",
                                "--disable-gpu", "--disable-background-networking", "--disable-component-update",
                                "--disable-sync", "--disable-quic", "--password-store=basic",
                                "--disable-features=Translate,MediaRouter", "--user-data-dir=" + folder() + "/chromium"};
  argv.insert(argv.end(), chromiumFlags_.begin(), chromiumFlags_.end());
  argv.push_back(url);
  start(argv, {{"HOME", folder()}}, "chromium.log");
}

bool XSession::waitForWindow(TextView part, int timeoutMs) {
  return waitForWindow([&](const WindowCandidate& w) { return w.title.find(part) != Text::npos; }, timeoutMs)
      .has_value();
}

std::optional<unsigned long> XSession::waitForWindow(const std::function<bool(const WindowCandidate&)>& wanted,
                                                     int timeoutMs) {
  x11::X11Windows probe(display_.c_str());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    for (const auto& window : probe.windows()) {
      if (wanted(window)) return window.handle;
    }
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(20ms);
  }
}

// Chromium and Wine leave folders of their own in the temporary folder when they are stopped: the
// session's goes with the session.
std::map<std::string, std::string> Session::environment(const std::map<std::string, std::string>& extraEnv) const {
  auto environment = env_;
  environment["TMPDIR"] = folder() + "/tmp";
  for (const auto& [k, v] : extraEnv) environment[k] = v;
  return environment;
}

Process& Session::start(const std::vector<std::string>& argv, const std::map<std::string, std::string>& extraEnv,
                        const std::string& logName) {
  return keep(std::make_unique<Process>(argv, environment(extraEnv), folder() + "/" + logName));
}

int Session::run(const std::vector<std::string>& argv) {
  Process helper(argv, environment(), folder() + "/helpers.log");
  const int status = helper.wait(60000);
  return status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Session::output(const std::vector<std::string>& argv) {
  const std::string file = folder() + "/output-" + randomHex(4);
  Process helper(argv, environment(), file, -1, folder() + "/helpers.log");
  helper.wait(60000);
  std::ifstream in(file, std::ios::binary);
  std::string text(std::istreambuf_iterator<char>(in), {});
  std::remove(file.c_str());
  return text;
}

std::string Session::writeFile(const std::string& name, const std::string& content) {
  const std::string path = folder() + "/" + name;
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

}  // namespace pw::e2e
