// Kills a process at random moments while it saves the text box, again and again: every start
// afterwards must read a whole value, the last one saved or the one being saved.
// PAGEWICK_CRASH_KILLS sets how many kills (50 by default; scripts/soak.sh runs 1,000).
//
// Then a power cut: the file-system calls of real saves are recorded, and every state of the disk
// they can leave behind is rebuilt and read.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/posix/filesettingsstore.h"
#include "platform/runtimeerror.h"
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
    ASSERT_NE(generation, -1) << "torn value after kill " << kill;
    ASSERT_GE(generation, next - 1) << "stale value after kill " << kill;
    next = generation + 1;
  }
}

struct Call {
  std::string op;
  int fd = -1, flags = 0;
  std::string path, to, bytes;
};

std::vector<Call> readJournal(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<Call> calls;
  for (std::string line; std::getline(in, line);) {
    Call c;
    std::istringstream fields(line);
    fields >> c.op;
    if (c.op == "open") {
      fields >> c.fd >> c.flags;
      fields.get();
      std::getline(fields, c.path);
    } else if (c.op == "write") {
      std::size_t length = 0;
      fields >> c.fd >> length;
      c.bytes.resize(length);
      in.read(c.bytes.data(), static_cast<std::streamsize>(length));
    } else if (c.op == "fsync" || c.op == "close") {
      fields >> c.fd;
    } else if (c.op == "rename") {
      const auto tab = line.find('\t');
      c.path = line.substr(7, tab - 7);
      c.to = line.substr(tab + 1);
    } else if (c.op == "unlink") {
      c.path = line.substr(7);
    }
    calls.push_back(std::move(c));
  }
  return calls;
}

// What a power cut may leave of the recorded calls, on a journaling file system that keeps the
// order of changes to names (ext4 and XFS do): every change to names up to the last fsync of
// their folder, and any number of the later ones, in order; a file's bytes as of its last fsync,
// or, written since, anything from none of them to all.
class PowerCutModel {
 public:
  // `oldBytes` is what the target holds on the disk at first, if it is there.
  PowerCutModel(std::string target, std::optional<std::string> oldBytes) : target_(std::move(target)) {
    if (oldBytes) {
      files_.push_back({*oldBytes, *oldBytes});
      start_[target_] = 0;
    }
    live_ = start_;
  }

  void apply(const Call& c) {
    if (c.op == "open" && (c.flags & O_DIRECTORY)) {
      folders_.insert(c.fd);
    } else if (c.op == "open") {
      if (!live_.count(c.path)) {
        live_[c.path] = static_cast<int>(files_.size());
        files_.push_back({});
        names_.push_back({"", c.path});
      }
      open_[c.fd] = live_[c.path];
      if (c.flags & O_TRUNC) files_[open_[c.fd]].bytes.clear();
    } else if (c.op == "write") {
      files_.at(open_.at(c.fd)).bytes += c.bytes;
    } else if (c.op == "fsync" && folders_.count(c.fd)) {
      durableNames_ = names_.size();
      renamedUnsynced_ = false;
    } else if (c.op == "fsync") {
      files_.at(open_.at(c.fd)).durable = files_[open_[c.fd]].bytes;
    } else if (c.op == "close") {
      open_.erase(c.fd);
      folders_.erase(c.fd);
    } else if (c.op == "rename" || c.op == "unlink") {
      if (c.op == "rename" && c.to == target_) {
        const File& file = files_.at(live_.at(c.path));
        EXPECT_TRUE(file.durable == file.bytes) << c.path << " was renamed before its bytes were on the disk";
        renamedUnsynced_ = true;
      }
      names_.push_back({c.path, c.to});
      if (!c.to.empty()) live_[c.to] = live_.at(c.path);
      live_.erase(c.path);
    }
  }

  // Every content the target may have after a power cut now.
  std::set<std::string> targetStates() const {
    std::set<std::string> states;
    for (std::size_t kept = durableNames_; kept <= names_.size(); ++kept) {
      auto names = start_;
      for (std::size_t i = 0; i < kept; ++i) {
        const auto& [from, to] = names_[i];
        if (from.empty()) {
          names[to] = fileCreatedBy(i);
        } else if (names.count(from)) {
          if (!to.empty()) names[to] = names[from];
          names.erase(from);
        }
      }
      if (!names.count(target_)) {
        states.insert("<no file>");
        continue;
      }
      const File& file = files_[names[target_]];
      states.insert(file.durable);
      if (file.bytes != file.durable) {
        states.insert(file.bytes);
        states.insert(file.bytes.substr(0, file.bytes.size() / 2));
      }
    }
    return states;
  }
  bool renamedUnsynced() const { return renamedUnsynced_; }

 private:
  struct File {
    std::string bytes, durable;
  };
  int fileCreatedBy(std::size_t op) const {
    int created = start_.empty() ? -1 : 0;
    for (std::size_t i = 0; i <= op; ++i) created += names_[i].first.empty();
    return created;
  }

  std::string target_;
  std::vector<File> files_;
  std::map<std::string, int> start_, live_;
  std::vector<std::pair<std::string, std::string>> names_;  // ("", name) creates a file
  std::size_t durableNames_ = 0;
  std::map<int, int> open_;
  std::set<int> folders_;
  bool renamedUnsynced_ = false;
};

// Runs a program with the journal preloaded and gives back its calls under `under`.
std::vector<Call> journalOf(const std::string& under, std::vector<std::string> command) {
  test::TempDir dir;
  const std::string journal = dir / "journal";
  const pid_t child = fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    setenv("LD_PRELOAD", PAGEWICK_SYSCALL_JOURNAL, 1);
    setenv("PAGEWICK_JOURNAL", journal.c_str(), 1);
    setenv("PAGEWICK_JOURNAL_UNDER", under.c_str(), 1);
    std::vector<char*> argv;
    for (auto& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(status, 0);
  return readJournal(journal);
}

TEST(CrashSafety, APowerCutAtAnyCallLeavesTheOldOrANewValueWhole) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's runtime must be the first library loaded";
#endif
  const char* configured = std::getenv("PAGEWICK_REPLAY_SAVES");
  test::TempDir dir, replay;
  posix::FileSettingsStore store(dir.path()), reader(replay.path());
  const Text old = u"0:11:aaaaaa";
  store.save(u"Kelvarin", u"Pagewick", u"Text1", old);
  store.flush();
  const std::string target = store.keyPath(u"Kelvarin", u"Pagewick", u"Text1");
  PowerCutModel disk(target, test::readBytes(target));

  const auto calls = journalOf(dir.path() + "/Kelvarin",
                               {PAGEWICK_STORE_WRITER, dir.path(), "1", configured ? configured : "12"});
  ASSERT_GT(calls.size(), 12u);

  std::map<std::string, long> readBack;  // content → the generation it holds, -1 when not whole
  const std::string replayed = reader.keyPath(u"Kelvarin", u"Pagewick", u"Text1");
  std::filesystem::create_directories(std::filesystem::path(replayed).parent_path());
  std::size_t states = 0;
  for (std::size_t at = 0; at <= calls.size(); ++at) {
    if (at > 0) disk.apply(calls[at - 1]);
    for (const std::string& content : disk.targetStates()) {
      ++states;
      if (!readBack.count(content)) {
        long& generation = readBack[content] = -1;
        if (content != "<no file>") {
          test::writeBytes(replayed, content);
          try {
            generation = checkedGeneration(reader.get(u"Kelvarin", u"Pagewick", u"Text1", u""));
          } catch (const RuntimeError&) {
          }
          std::filesystem::remove_all(replay / "Kelvarin");
          std::filesystem::create_directories(std::filesystem::path(replayed).parent_path());
        }
      }
      ASSERT_NE(readBack[content], -1) << "after call " << at << " (" << calls[at ? at - 1 : 0].op
                                       << "), a power cut can leave " << content.size() << " bytes that are not a whole value";
    }
  }
  EXPECT_FALSE(disk.renamedUnsynced()) << "the last rename never reached the disk";
  RecordProperty("crash_states", static_cast<int>(states));
}

// Once an append has returned, a power cut leaves the appended text, in a new file and an old one.
TEST(CrashSafety, AnAppendIsOnTheDiskWhenItReturns) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's runtime must be the first library loaded";
#endif
  test::TempDir dir;
  const std::string file = dir / "out.txt";
  for (const char* kept : {"", "page one\r\n"}) {
    std::optional<std::string> before;
    if (*kept) test::writeBytes(file, before.emplace(kept));
    PowerCutModel disk(file, before);
    for (const Call& call : journalOf(dir.path(), {PAGEWICK_FILE_APPENDER, file, "page two\r\n"})) disk.apply(call);
    EXPECT_EQ(disk.targetStates(), std::set<std::string>{std::string(kept) + "page two\r\n"}) << kept;
    std::filesystem::remove(file);
  }
}

}  // namespace
}  // namespace pw
