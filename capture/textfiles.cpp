#include "capture/textfiles.h"

#include <exception>

namespace pw {

bool FileExists(Files& files, TextView path) {
  try {
    files.fileDateTime(path);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void WriteTextFile(Files& files, TextView text, TextView path) {
  auto file = files.openForOutput(path);
  file->print(text);
  file->close();
}

void AppendTextToFile(Files& files, TextView content, TextView path) {
  auto fileSystem = files.createFileSystemObject();
  const bool exists = FileExists(files, path);
  auto stream = fileSystem->openTextFile(path, exists ? IoMode::Append : IoMode::Write, true, false);
  stream->write(content);
  stream->close();
}

}  // namespace pw
