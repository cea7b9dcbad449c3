// Start-up to the window shown, and resident memory once idle, with an empty store and with
// 10, 50 and 100 million characters in the text box. Runs the real pagewick under a private X
// server with openbox. Run: build/bench/bench_startup [runs] [millions...]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/median.h"
#include "e2e/support/xsession.h"
#include "platform/posix/filesettingsstore.h"

namespace {

using Clock = std::chrono::steady_clock;

long residentKilobytes(int pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// The process's CPU time so far, in clock ticks.
long cpuTicks(int pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string all((std::istreambuf_iterator<char>(stat)), {});
  std::istringstream fields(all.substr(all.rfind(')') + 2));
  std::string skip;
  for (int i = 0; i < 11; ++i) fields >> skip;  // state … cmajflt
  long user = 0, system = 0;
  fields >> user >> system;
  return user + system;
}

// Waits until the process has used no CPU for a whole second: the view is filled.
void waitUntilIdle(int pid) {
  for (long before = cpuTicks(pid);;) {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const long now = cpuTicks(pid);
    if (now == before) return;
    before = now;
  }
}

using pw::bench::median;

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  std::vector<std::size_t> sizes;
  for (int i = 2; i < argc; ++i) sizes.push_back(std::stoul(argv[i]));
  if (sizes.empty()) sizes = {0, 10, 50, 100};
  pw::e2e::XSession session;
  for (std::size_t millions : sizes) {
    const std::string config = session.folder() + "/config-" + std::to_string(millions);
    {
      pw::Text text;
      const pw::Text line = u"Pagewick collects page text — Съешь же ещё этих мягких булок.\r\n";
      while (text.size() < millions * 1000000) text += line;
      text.resize(millions * 1000000);
      pw::posix::FileSettingsStore(config).save(u"Kelvarin", u"Pagewick", u"Text1", text);
    }

    std::vector<double> seconds, rss;
    for (int run = 0; run < runs; ++run) {
      const auto start = Clock::now();
      auto& program = session.start({PAGEWICK_BINARY}, {{"XDG_CONFIG_HOME", config}}, "pagewick.log");
      session.waitForWindow([](const pw::WindowCandidate& w) { return w.title == u"Pagewick"; });
      seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
      waitUntilIdle(program.pid());
      rss.push_back(residentKilobytes(program.pid()) / 1024.0);
      program.stop();
    }
    const double utf16 = millions * 2.0 * 1e6 / (1024 * 1024);
    std::printf("text box %3zu M characters (%.0f MB UTF-16): window shown %.3f s (median of %d), "
                "resident memory idle %.1f MB (target %.0f MB)\n",
                millions, utf16, median(seconds), runs, median(rss), 80 + 3 * utf16);
  }
}
