#include "capture/textfiles.h"

namespace pw {

bool FileExists(Files& files, TextView path) { return files.kind(path) != PathKind::Missing; }

void WriteTextFile(Files& files, TextView text, TextView path) { files.replaceText(path, text); }

void AppendTextToFile(Files& files, TextView content, TextView path) { files.appendText(path, content); }

}  // namespace pw
