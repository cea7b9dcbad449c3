// Saves the text box's setting over and over, in sizes from 1 KB to 5 MB, until it is killed or
// has saved the number of values its third argument gives. Each value says what it should be:
// "<generation>:<length>:" and then one repeated character.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/posix/filesettingsstore.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  pw::posix::FileSettingsStore store(argv[1]);
  const std::size_t sizes[] = {1 << 10, 5 << 20, 64 << 10, 1 << 20, 3 << 20, 200};
  const long first = std::atol(argv[2]);
  for (long generation = first; argc < 4 || generation < first + std::atol(argv[3]); ++generation) {
    const std::size_t length = sizes[generation % 6];
    pw::Text value = pw::ascii(std::to_string(generation) + ":" + std::to_string(length) + ":");
    value.resize(length, static_cast<char16_t>(u'a' + generation % 26));
    store.save(u"Kelvarin", u"Pagewick", u"Text1", value);
    std::printf("%ld\n", generation);
    std::fflush(stdout);
  }
}
