// Kills a process at random moments while it saves the text box, again and again: every start
// afterwards must read a whole value, the last one saved or the one being saved.
// PAGEWICK_CRASH_KILLS sets how many kills (50 by default; scripts/soak.sh runs 1,000).
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/posix/filesettingsstore.h"
#include "tests/doubles/tempdir.h"

namespace pw {
namespace {

// The generation a value claims, or -1 when it is not a whole value.
long checkedGeneration(const Text& value) {
  const std::string text = toUtf8(value.substr(0, 40));
  const auto first = text.find(':'), second = text.find(':', first + 1);
  if (first == std::string::npos || second == std::string::npos) return -1;
  const long generation = std::stol(text.substr(0, first));
  const std::size_t length = std::stoul(text.substr(first + 1, second - first - 1));
  if (value.size() != length) return -1;
  const char16_t fill = static_cast<char16_t>(u'a' + generation % 26);
  for (std::size_t i = second + 1; i < value.size(); ++i) {
    if (value[i] != fill) return -1;
  }
  return generation;
}

TEST(CrashSafety, AKilledSaveLeavesTheOldOrTheNewValue) {
  const char* configured = std::getenv("PAGEWICK_CRASH_KILLS");
  const int kills = configured ? std::atoi(configured) : 50;
  test::TempDir dir;
  posix::FileSettingsStore store(dir.path());
  std::mt19937 rng(std::random_device{}());
  long next = 0;
  for (int kill = 0; kill < kills; ++kill) {
    const std::string from = std::to_string(next);
    const pid_t writer = fork();
    if (writer == 0) {
      execl(PAGEWICK_STORE_WRITER, PAGEWICK_STORE_WRITER, dir.path().c_str(), from.c_str(), nullptr);
      _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 60000));
    ::kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);

    const Text value = store.get(u"Kelvarin", u"Pagewick", u"Text1", u"<absent>");
    if (value == u"<absent>") {
      ASSERT_EQ(next, 0) << "a value went missing after kill " << kill;
      continue;
    }
    const long generation = checkedGeneration(value);
    ASSERT_GE(generation, next - 1) << "torn or stale value after kill " << kill;
    next = generation + 1;
  }
}

}  // namespace
}  // namespace pw
