#include <gtest/gtest.h>

#include <filesystem>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
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
  // A full disk, as far as this process can tell.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  try {
    store.save(u"Kelvarin", u"Pagewick", u"Text2", Text(4096, u'n'));
    ADD_FAILURE() << "save succeeded";
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.description().find(u"Text2"), Text::npos) << e.what();
  }
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"Text2", u""), u"old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() + "/Kelvarin/Pagewick"),
                          std::filesystem::directory_iterator()), 1);
}

TEST(SettingsStore, AKeyThatIsAFolderCannotBeRead) {
  TempDir dir;
  FileSettingsStore store(dir.path());
  std::filesystem::create_directories(store.keyPath(u"Kelvarin", u"Pagewick", u"Text1"));
  EXPECT_THROW(store.get(u"Kelvarin", u"Pagewick", u"Text1", u""), RuntimeError);
  EXPECT_THROW(store.save(u"Kelvarin", u"Pagewick", u"Text1", u"x"), RuntimeError);
}

}  // namespace
}  // namespace pw

namespace pw {
namespace {

TEST(SettingsStore, HandWrittenUtf8IsReadAndACutFileIsAnError) {
  test::TempDir dir;
  posix::FileSettingsStore store(dir.path());
  std::filesystem::create_directories(dir / "Kelvarin/Pagewick");
  test::writeBytes(dir / "Kelvarin/Pagewick/Text2", "/home/ана/out.txt");
  EXPECT_EQ(store.get(u"Kelvarin", u"Pagewick", u"Text2", u""), u"/home/ана/out.txt");
  test::writeBytes(dir / "Kelvarin/Pagewick/Text1", std::string("\xFF\xFE" "a\0b", 5));
  EXPECT_THROW(store.get(u"Kelvarin", u"Pagewick", u"Text1", u""), RuntimeError);
}

}  // namespace
}  // namespace pw
