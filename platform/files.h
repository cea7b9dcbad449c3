#pragma once
// The files the handlers touch: the output file, and the pictures and skin beside the program.
#include "platform/text.h"

namespace pw {

// Other: a folder, a device, a pipe, or (on Windows) a hidden or system file.
enum class PathKind { Missing, NormalFile, Other };

// Text is written in the system's 8-bit encoding without a byte-order mark, in one piece, and is
// on the disk when a call returns. When a write fails part-way the file keeps what it had.
class Files {
 public:
  virtual ~Files() = default;
  // What `path` names now. Never fails: a name the system cannot take names nothing.
  virtual PathKind kind(TextView path) = 0;
  // Makes `text` the file's whole content, creating the file if needed.
  virtual void replaceText(TextView path, TextView text) = 0;
  // Adds `text` after the file's last byte, creating the file if needed.
  virtual void appendText(TextView path, TextView text) = 0;
};

// How every backend words a file it will not write. `purpose`: "for output", "for appending";
// `what`: "a named pipe", "a device", …
[[noreturn]] void throwBadFileName(TextView path);
[[noreturn]] void throwNotAFile(TextView path, TextView purpose, TextView what);

}  // namespace pw
