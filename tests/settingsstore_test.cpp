#include <gtest/gtest.h>

#include <filesystem>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/filesettingsstore.h"
#include "platform/runtimeerror.h"
#include "tests/doubles/tempdir.h"

namespace pw {
namespace {

using posix::FileSettingsStore;
using test::TempDir;

TEST(SettingsStore, ValuesComeBackExactly) {
  TempDir dir;
  FileSettingsStore store(dir.path());
  const Text values[] = {
      u"",
      u"  leading and trailing  ",
      u"lone\rCR, CR LF\r\n, LF\n, LS\u2028, NBSP\u00A0",
      Text(u"NUL\0inside", 10),
      u"non-BMP \U0001F600 Ж",
      Text(1, char16_t(0xD800)) + u"lone surrogate",
  };
  for (const Text& value : values) {
    store.save(u"Kelvarin", u"Pagewick", u"Text1", value);
    store.flush();
    EXPECT_EQ(FileSettingsStore(dir.path()).get(u"Kelvarin", u"Pagewick", u"Text1", u"x"), value);
  }
}

TEST(SettingsStore, TenMegabytesRoundTrip) {
  TempDir dir;
  FileSettingsStore store(dir.path());
  Text big(10 * 1024 * 1024, u'x');
  for (std::size_t i = 0; i < big.size(); i += 997) big[i] = i % 2 ? u'\r' : u'Ж';
  store.save(u"Kelvarin", u"Pagewick", u"Text1", big);
  EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"Text1", u""), big);
}

// Saving back what was just read leaves the file alone; a change of the same length does not.
TEST(SettingsStore, ARestoredValueIsNotWrittenAgainButAChangeOfTheSameLengthIs) {
  TempDir dir;
  FileSettingsStore store(dir.path());
  const Text value(3 << 20, u'a');
  store.save(u"Kelvarin", u"Pagewick", u"Text1", value);
  const std::string path = store.keyPath(u"Kelvarin", u"Pagewick", u"Text1");
  ASSERT_EQ(store.get(u"Kelvarin", u"Pagewick", u"Text1", u""), value);
  const auto inode = [&] {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_ino;
  };
  const auto first = inode();
  store.save(u"Kelvarin", u"Pagewick", u"Text1", value);
  store.flush();
  EXPECT_EQ(inode(), first);
  Text changed = value;
  changed[changed.size() - 1] = u'b';
  ASSERT_EQ(store.get(u"Kelvarin", u"Pagewick", u"Text1", u""), value);
  store.save(u"Kelvarin", u"Pagewick", u"Text1", changed);
  EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"Text1", u""), changed);
  store.save(u"Kelvarin", u"Pagewick", u"Text1", changed);  // a second save is never skipped blindly
  store.save(u"Kelvarin", u"Pagewick", u"Text1", value);
  EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"Text1", u""), value);
}

TEST(SettingsStore, AbsentKeysGiveTheDefault) {
  TempDir dir;
  FileSettingsStore store(dir.path() + "/not/yet");
  EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"Option1", u"1"), u"1");
  store.save(u"Kelvarin", u"Pagewick", u"Option2", u"False");
  EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"Option1", u"1"), u"1");
  EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"Option2", u"0"), u"False");
}

TEST(SettingsStore, KeepsKeysApartAndLeavesNoTemporaryFiles) {
  TempDir dir;
  FileSettingsStore store(dir.path());
  store.save(u"Kelvarin", u"Pagewick", u"a/b", u"1");
  store.save(u"Kelvarin", u"Pagewick", u"a%2Fb", u"2");
  store.save(u"Kelvarin", u"Pagewick", u"..", u"3");
  store.save(u"Kelvarin", u"Pagewick", u"..", u"4");
  EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"a/b", u""), u"1");
  EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"a%2Fb", u""), u"2");
  EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"..", u""), u"4");
  int files = 0;
  for (auto& entry : std::filesystem::directory_iterator(dir.path() + "/Kelvarin/Pagewick")) {
    EXPECT_EQ(entry.path().string().find(".new-"), std::string::npos) << entry.path();
    ++files;
  }
  EXPECT_EQ(files, 3);
}

TEST(SettingsStore, AFailedSaveKeepsTheOldValueAndSaysWhere) {
  TempDir dir;
  FileSettingsStore store(dir.path());
  store.save(u"Kelvarin", u"Pagewick", u"Text2", u"old");
  try {
    test::FileSizeLimit full(1024);
    store.save(u"Kelvarin", u"Pagewick", u"Text2", Text(4096, u'n'));
    ADD_FAILURE() << "save succeeded";
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.description().find(u"Text2"), Text::npos) << e.what();
  }
  EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"Text2", u""), u"old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() + "/Kelvarin/Pagewick"),
                          std::filesystem::directory_iterator()), 1);
}

}  // namespace
}  // namespace pw

namespace pw {
namespace {

TEST(SettingsStore, HandWrittenUtf8IsRead) {
  test::TempDir dir;
  posix::FileSettingsStore store(dir.path());
  std::filesystem::create_directories(dir / "Kelvarin/Pagewick");
  test::writeBytes(dir / "Kelvarin/Pagewick/Text2", "/home/ана/out.txt");
  EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"Text2", u""), u"/home/ана/out.txt");
}

// The one file beside the key's own that get() left, after it said so.
std::string movedAside(const std::string& keyPath, const RuntimeError& e) {
  const auto aside = test::pathsStartingWith(keyPath + ".unreadable-");
  EXPECT_EQ(aside.size(), 1u);
  if (aside.empty()) return {};
  EXPECT_NE(e.description().find(u"It was moved to \"" + fromUtf8(aside[0]) + u"\""), Text::npos) << e.what();
  return aside[0];
}

// Damaged, cut short, a folder, a pipe: each is moved aside whole, and the next save starts anew.
TEST(SettingsStore, AnUnreadableValueIsMovedAsideBeforeAnythingIsSavedOverIt) {
  test::TempDir dir;
  posix::FileSettingsStore store(dir.path());
  const std::string path = store.keyPath(u"Kelvarin", u"Pagewick", u"Text1");
  std::filesystem::create_directories(dir / "Kelvarin/Pagewick");
  const std::pair<std::string, std::string> damaged[] = {
      {"cut short", std::string("\xFF\xFE" "a\0b", 5)},
      {"not UTF-8", "caf\xE9 \xC0\x80"},
      {"a folder", ""},
      {"a pipe", ""},
  };
  for (const auto& [kind, bytes] : damaged) {
    SCOPED_TRACE(kind);
    if (kind == "a folder") {
      std::filesystem::create_directories(path + "/inside");
    } else if (kind == "a pipe") {
      ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    } else {
      test::writeBytes(path, bytes);
    }
    try {
      store.get(u"Kelvarin", u"Pagewick", u"Text1", u"");
      ADD_FAILURE() << "read";
      continue;
    } catch (const RuntimeError& e) {
      EXPECT_TRUE(e.description().starts_with(u"Could not read the setting \"Text1\"")) << e.what();
      const std::string aside = movedAside(path, e);
      EXPECT_TRUE(kind != "a folder" || std::filesystem::exists(aside + "/inside"));
      EXPECT_TRUE(kind != "a pipe" || std::filesystem::is_fifo(aside));
      EXPECT_TRUE(bytes.empty() || test::readBytes(aside) == bytes);
      std::filesystem::remove_all(aside);
    }
    store.save(u"Kelvarin", u"Pagewick", u"Text1", u"new");
    EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"Text1", u""), u"new");
    std::filesystem::remove(path);
  }
}

}  // namespace
}  // namespace pw

namespace pw {
namespace {

// No fixed size refuses a real text; only one that memory cannot hold is moved aside.
TEST(SettingsStore, AnyValueMemoryCanHoldIsRead) {
  test::TempDir dir;
  posix::FileSettingsStore store(dir.path());
  store.save(u"Kelvarin", u"Pagewick", u"Text1", u"x");
  store.flush();
  const std::string path = store.keyPath(u"Kelvarin", u"Pagewick", u"Text1");
  std::filesystem::resize_file(path, std::uintmax_t{300} << 20);
  const Text value = store.get(u"Kelvarin", u"Pagewick", u"Text1", u"");
  ASSERT_EQ(value.size(), (std::size_t{300} << 19) - 1);
  EXPECT_EQ(value[0], u'x');
  EXPECT_EQ(value.back(), u'\0');

#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer's own reservations exceed any small limit
  const pid_t child = fork();
  if (child == 0) {
    rlimit limit{rlim_t{256} << 20, rlim_t{256} << 20};
    setrlimit(RLIMIT_AS, &limit);
    try {
      posix::FileSettingsStore(dir.path()).get(u"Kelvarin", u"Pagewick", u"Text1", u"");
      _exit(1);
    } catch (const RuntimeError& e) {
      _exit(e.description().find(u"300 MB, more than this computer's memory can hold") == Text::npos ? 2 : 0);
    }
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(std::filesystem::exists(path));
  const auto aside = test::pathsStartingWith(path + ".unreadable-");
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(std::filesystem::file_size(aside[0]), std::uintmax_t{300} << 20);
#endif
}

// Two copies of the program saving the text box at once: every read sees one whole value.
TEST(SettingsStore, TwoWritersNeverTearAValue) {
  test::TempDir dir;
  const Text a(1 << 20, u'a'), b(2 << 20, u'b');
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = fork();
    if (writers[w] == 0) {
      posix::FileSettingsStore store(dir.path());
      for (int i = 0; i < 100; ++i) store.save(u"Kelvarin", u"Pagewick", u"Text1", w ? b : a);
      _exit(0);
    }
  }
  posix::FileSettingsStore reader(dir.path());
  int reads = 0;
  for (int alive = 2; alive > 0;) {
    const Text value = reader.get(u"Kelvarin", u"Pagewick", u"Text1", u"");
    ASSERT_TRUE(value.empty() || value == a || value == b) << value.size();
    ++reads;
    alive = 0;
    for (pid_t pid : writers) alive += waitpid(pid, nullptr, WNOHANG) == 0;
  }
  const Text last = reader.get(u"Kelvarin", u"Pagewick", u"Text1", u"");
  EXPECT_TRUE(last == a || last == b);
  EXPECT_GT(reads, 1);
}

}  // namespace
}  // namespace pw
