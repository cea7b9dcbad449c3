// A capture against real Firefox ESR, and a 10 MB clipboard read, under a private X server or,
// with --sway, --kwin or --gnome, against native Wayland Firefox under a headless sway, KWin or
// GNOME Shell.
//  - wall time of "Copy Browser Text and Append To Text Box" on a small page;
//  - where its time goes: the desktop calls it makes, and the rest (mostly the pauses);
//  - the process's CPU time during it, against the same capture with a busy-waiting pause;
//  - reading 10 MB that another client offers, against `xclip -o` (`wl-paste`) reading the same;
//    not on GNOME, where bench_gnome_routes reads 10 MB.
// Run: build/bench/bench_capture [captures] [--sway | --kwin | --gnome]
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sys/resource.h>
#include <vector>

#include "app/capturecommands.h"
#include "bench/median.h"
#include "capture/clipboardretry.h"
#include "e2e/support/program.h"
#include "e2e/support/realdesktop.h"
#include "e2e/support/waylandsession.h"
#include "e2e/support/xsession.h"

namespace {

using Clock = std::chrono::steady_clock;
using pw::bench::median;
bool faulty = false;  // a figure taken from a capture or read that went wrong: the run fails

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Time per kind of call during one capture, in seconds.
using Stages = std::map<std::string, double>;

class Stopwatch {
 public:
  Stopwatch(Stages& stages, const char* name) : into_(stages[name]), start_(Clock::now()) {}
  ~Stopwatch() { into_ += std::chrono::duration<double>(Clock::now() - start_).count(); }

 private:
  double& into_;
  Clock::time_point start_;
};

// The desktop services, each call timed into `stages`.
class TimedAutomation final : public pw::WindowAutomation, public pw::WindowStacking {
 public:
  TimedAutomation(pw::Services& real, Stages& stages) : real_(real), stages_(stages) {}
  void activate(pw::TextView title) override { Stopwatch w(stages_, "bring the browser forward"); real_.automation.activate(title); }
  void sendKeys(pw::TextView keys) override { Stopwatch w(stages_, "send the keys"); real_.automation.sendKeys(keys); }
  void makeTopmost(pw::WindowHandle window) override { Stopwatch w(stages_, "keep our window above"); real_.stacking.makeTopmost(window); }

 private:
  pw::Services& real_;
  Stages& stages_;
};

class TimedClipboard final : public pw::Clipboard {
 public:
  TimedClipboard(pw::Clipboard& real, Stages& stages) : real_(real), stages_(stages) {}
  void clear() override { Stopwatch w(stages_, "clipboard clear"); real_.clear(); }
  void setText(pw::TextView text, std::optional<int> format) override { Stopwatch w(stages_, "clipboard set"); real_.setText(text, format); }
  pw::Text text(std::optional<int> format) override { Stopwatch w(stages_, "clipboard read"); return real_.text(format); }
  bool hasText() override { Stopwatch w(stages_, "clipboard offer"); return real_.hasText(); }

 private:
  pw::Clipboard& real_;
  Stages& stages_;
};

// The pause as a busy loop: clock reads and event processing, never sleeping.
class BusyPump final : public pw::EventPump {
 public:
  explicit BusyPump(pw::EventPump& real) : real_(real) {}
  double timer() override { return real_.timer(); }
  void doEvents() override { real_.doEvents(); }
  void processEventsFor(double) override { real_.doEvents(); }

 private:
  pw::EventPump& real_;
};

struct Figures {
  double wall;
  double cpuShare;
  Stages stages;  // medians
};

Figures captures(pw::e2e::RealDesktop& desk, pw::EventPump& events, int count) {
  pw::Services services = desk.services;
  Stages stages;
  TimedAutomation automation(services, stages);
  TimedClipboard clipboard(services.clipboard, stages);
  pw::Services measured{automation, automation, clipboard, events, services.settings,
                        services.messages, services.saveDialog, services.files, services.app, services.random};
  pw::e2e::ModelWindow window;
  window.options[2] = true;
  std::vector<double> walls, shares;
  std::map<std::string, std::vector<double>> perStage;
  for (int i = 0; i < count; ++i) {
    window.text1_.clear();
    stages.clear();
    const double cpu = cpuSeconds();
    const auto start = Clock::now();
    pw::PushButton2_Click(measured, window);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    walls.push_back(wall);
    shares.push_back((cpuSeconds() - cpu) / wall);
    double timed = 0;
    for (const auto& [name, seconds] : stages) perStage[name].push_back(seconds), timed += seconds;
    perStage["the pauses and the rest"].push_back(wall - timed);
    if (window.text1_.size() < 10) {
      std::fprintf(stderr, "capture %d came back empty\n", i);
      faulty = true;
    }
  }
  Figures figures{median(walls), median(shares), {}};
  for (const auto& [name, values] : perStage) figures.stages[name] = median(values);
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 15;
  const std::string compositor = argc > 2 ? argv[2] : "";
  const bool wayland = compositor == "--sway" || compositor == "--kwin";
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  std::unique_ptr<pw::e2e::Session> session;
  if (compositor == "--sway") {
    session = std::make_unique<pw::e2e::SwaySession>();
  } else if (compositor == "--kwin") {
    // KWin offers its window management and fake input to this program only when trusted.
    session = std::make_unique<pw::e2e::KWinSession>(pw::e2e::WaylandOptions{.trusted = {self}});
  } else if (compositor == "--gnome") {
    session = std::make_unique<pw::e2e::GnomeSession>(pw::e2e::WaylandOptions{.trusted = {self}});
  } else {
    session = std::make_unique<pw::e2e::XSession>();
  }
  session->startFirefox("file://" + session->writeFile("page.html",
                                                       "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Bench "
                                                       "Page</title></head><body><p>A small page.</p></body></html>"));
  if (!session->waitForWindow(u"Bench Page")) return 1;
  qputenv("QT_QPA_PLATFORM", wayland || compositor == "--gnome" ? "offscreen" : "xcb");
  QApplication app(argc, argv);
  pw::e2e::RealDesktop desk(session->folder() + "/settings");

  const Figures sleeping = captures(desk, desk.events, count);
  BusyPump busy(desk.events);
  const Figures spinning = captures(desk, busy, count);
  std::printf("capture wall time: %.3f s median of %d (pauses alone: 0.400 s)\n", sleeping.wall, count);
  std::printf("where a capture's time goes (medians):");
  for (const auto& [name, seconds] : sleeping.stages) std::printf(" %s %.1f ms;", name.c_str(), 1000 * seconds);
  std::printf("\n");
  std::printf("CPU during a capture: %.1f %% of wall time; with a busy-waiting pause %.1f %%\n",
              100 * sleeping.cpuShare, 100 * spinning.cpuShare);

  // xclip's large offer reaches GNOME Shell through XWayland only slowly and at times not at all;
  // bench_gnome_routes reads 10 MB there from native Wayland Chromium instead.
  if (compositor == "--gnome") return faulty ? 1 : 0;
  std::string ten(10 * 1024 * 1024, 'x');
  for (std::size_t i = 80; i < ten.size(); i += 81) ten[i] = '\n';
  const std::vector<std::string> reader = wayland ? std::vector<std::string>{"wl-paste", "--no-newline"}
                                               : std::vector<std::string>{"xclip", "-o", "-selection", "clipboard"};
  const std::string file = session->writeFile("ten.txt", ten);
  // The captures left the clipboard with us, and we answer no one while we wait below.
  pw::ClipboardClear(desk.clipboard);
  session->start({"sh", "-c", (wayland ? "wl-copy --foreground < " : "xclip -quiet -selection clipboard -i ") + file}, {},
                 "offer.log");
  if (!pw::e2e::eventually([&] { return session->output(reader).size() == ten.size(); }, 60000)) return 1;
  std::vector<double> ours, theirs;
  for (int i = 0; i < 7; ++i) {
    auto start = Clock::now();
    const pw::Text got = pw::ClipboardGetText(desk.clipboard, 0);
    ours.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    if (got.size() != ten.size()) {
      std::fprintf(stderr, "read %zu of %zu characters\n", got.size(), ten.size());
      faulty = true;
    }
    start = Clock::now();
    const std::string copy = session->output(reader);
    theirs.push_back(std::chrono::duration<double>(Clock::now() - start).count());
  }
  std::printf("10 MB clipboard read: %.1f ms median; %s %.1f ms (ratio %.2f)\n", 1000 * median(ours),
              reader[0].c_str(), 1000 * median(theirs), median(ours) / median(theirs));
  return faulty ? 1 : 0;
}
