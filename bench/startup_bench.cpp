// Start-up to the window shown, and resident memory once idle, with an empty store and with
// 10 MB in the text box. Runs the real pagewick under a private X server with openbox.
// Run: build/bench/bench_startup [runs]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

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

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  pw::e2e::XSession session;
  for (std::size_t megabytes : {0, 10}) {
    const std::string config = session.folder() + "/config-" + std::to_string(megabytes);
    pw::Text text;
    const pw::Text line = u"Pagewick collects page text — Съешь же ещё этих мягких булок.\r\n";
    while (text.size() < megabytes * 1024 * 1024) text += line;
    text.resize(megabytes * 1024 * 1024);
    pw::posix::FileSettingsStore(config).save(u"Kelvarin", u"Pagewick", u"Text1", text);

    std::vector<double> seconds, rss;
    for (int run = 0; run < runs; ++run) {
      const auto start = Clock::now();
      auto& program = session.start({PAGEWICK_BINARY}, {{"XDG_CONFIG_HOME", config}}, "pagewick.log");
      session.waitForWindow([](const pw::WindowCandidate& w) { return w.title == u"Pagewick"; });
      seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
      std::this_thread::sleep_for(std::chrono::seconds(2));  // idle
      rss.push_back(residentKilobytes(program.pid()) / 1024.0);
      program.stop();
    }
    std::printf("text box %2zu MB: start-up to window shown %.3f s (median of %d), resident memory idle %.1f MB\n",
                megabytes, median(seconds), runs, median(rss));
  }
}
