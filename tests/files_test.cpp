#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include "capture/textfiles.h"
#include "platform/posix/localencoding.h"
#include "platform/posix/posixfiles.h"
#include "platform/runtimeerror.h"
#include "tests/doubles/tempdir.h"

namespace pw {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

Text path(const std::string& p) { return fromUtf8(p); }

class FilesTest : public ::testing::Test {
 protected:
  TempDir dir;
  posix::PosixFiles files;
};

TEST_F(FilesTest, FileExistsOnlyForSomethingThatIsThere) {
  writeBytes(dir / "a.txt", "x");
  EXPECT_TRUE(FileExists(files, path(dir / "a.txt")));
  EXPECT_FALSE(FileExists(files, u""));
  EXPECT_FALSE(FileExists(files, path(dir / "missing/a.txt")));
  EXPECT_FALSE(FileExists(files, path(dir / "b.txt")));
  EXPECT_FALSE(FileExists(files, Text(u"a\0b", 3)));
}

TEST_F(FilesTest, OnlyARegularFileIsANormalFile) {
  writeBytes(dir / "o.cjs", "x");
  std::filesystem::create_directory(dir / "folder.cjs");
  EXPECT_EQ(files.kind(path(dir / "o.cjs")), PathKind::NormalFile);
  EXPECT_EQ(files.kind(path(dir / "folder.cjs")), PathKind::Other);
  EXPECT_TRUE(FileExists(files, path(dir / "folder.cjs")));
  EXPECT_EQ(files.kind(path(dir / "none")), PathKind::Missing);
}

TEST_F(FilesTest, AppendCreatesThenAddsAfterTheLastByte) {
  const Text file = path(dir / "out.txt");
  AppendTextToFile(files, u"A\r\n", file);
  AppendTextToFile(files, u"B\r\n", file);
  EXPECT_EQ(readBytes(dir / "out.txt"), "A\r\nB\r\n");

  writeBytes(dir / "old.txt", "no final break");
  AppendTextToFile(files, u"Ж\r\n", path(dir / "old.txt"));
  EXPECT_EQ(readBytes(dir / "old.txt"), "no final break\xD0\x96\r\n");
}

TEST_F(FilesTest, WriteTextFileReplacesTheContentWithoutALineBreak) {
  writeBytes(dir / "out.txt", "old content\r\n");
  WriteTextFile(files, u"", path(dir / "out.txt"));
  EXPECT_EQ(readBytes(dir / "out.txt"), "");
  WriteTextFile(files, u"new", path(dir / "out.txt"));
  EXPECT_EQ(readBytes(dir / "out.txt"), "new");
}

TEST_F(FilesTest, FailuresAreRuntimeErrorsThatNameThePath) {
  const std::pair<std::string, int> cases[] = {
      {dir / "missing/out.txt", err::PathNotFound},
      {dir.path(), err::PathFileAccess},
  };
  for (const auto& [p, number] : cases) {
    try {
      AppendTextToFile(files, u"A\r\n", path(p));
      ADD_FAILURE() << p;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), number) << e.what();
      EXPECT_NE(e.description().find(path(p)), Text::npos) << e.what();
    }
  }
  EXPECT_THROW(AppendTextToFile(files, u"A", Text(u"x\0y", 3)), RuntimeError);

  // Text the encoding cannot hold is refused before the file is opened, so nothing is emptied.
  writeBytes(dir / "kept.txt", "kept");
  EXPECT_THROW(WriteTextFile(files, Text(1, char16_t(0xDC00)), path(dir / "kept.txt")), RuntimeError);
  EXPECT_EQ(readBytes(dir / "kept.txt"), "kept");
}

// A pipe, a device or a socket is refused at once: opening a pipe nobody reads would never return.
TEST_F(FilesTest, WhatIsNotAFileIsRefusedWithoutWaiting) {
  test::NotFiles notFiles(dir.path());
  for (const std::string& p : notFiles.paths) {
    EXPECT_TRUE(FileExists(files, path(p))) << p;
    for (bool append : {true, false}) {
      try {
        append ? AppendTextToFile(files, u"A\r\n", path(p)) : WriteTextFile(files, u"", path(p));
        ADD_FAILURE() << p;
      } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::PathFileAccess) << e.what();
        EXPECT_NE(e.description().find(u", not a file. Choose a file, or a new name."), Text::npos) << e.what();
      }
    }
  }
  EXPECT_FALSE(notFiles.blocked);
}

TEST_F(FilesTest, AnAppendThatRunsOutOfSpaceLeavesTheFileAsItWas) {
  writeBytes(dir / "out.txt", "kept\r\n");
  {
    test::FileSizeLimit full(4096);
    EXPECT_THROW(AppendTextToFile(files, Text(10000, u'x'), path(dir / "out.txt")), RuntimeError);
  }
  EXPECT_EQ(readBytes(dir / "out.txt"), "kept\r\n");
}

TEST(LocalEncoding, UnrepresentableCharactersAreRefusedNotDropped) {
  EXPECT_EQ(posix::encodeText(u"Жx", "KOI8-R"), "\xF6x");
  try {
    posix::encodeText(u"ok \U0001F600", "KOI8-R");
    ADD_FAILURE();
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.description().find(u"U+1F600"), Text::npos) << e.what();
  }
  EXPECT_THROW(posix::encodeText(Text(u"a") + char16_t(0xDC00), "UTF-8"), RuntimeError);
  EXPECT_EQ(posix::encodeText(u"\U0001F600", "UTF-8"), "\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace pw
