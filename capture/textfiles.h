#pragma once
// The output file's routines.
#include "platform/files.h"

namespace pw {

// True when the path names something, a file or a folder; never fails.
bool FileExists(Files& files, TextView path);
// Replaces the file's content with `text` (no line break is added), creating the file if needed.
void WriteTextFile(Files& files, TextView text, TextView path);
// Adds `content` at the end of the file, creating it if needed. On failure the file keeps the
// content it had.
void AppendTextToFile(Files& files, TextView content, TextView path);

}  // namespace pw
