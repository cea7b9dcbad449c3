// Appends each argument after the first to the file the first names, as a capture does.
#include "capture/textfiles.h"
#include "platform/posix/posixfiles.h"

int main(int argc, char** argv) {
  pw::posix::PosixFiles files;
  for (int i = 2; i < argc; ++i) pw::AppendTextToFile(files, pw::fromUtf8(argv[i]), pw::fromUtf8(argv[1]));
}
