#pragma once
#include <cstdint>
#include <memory>

#include "platform/text.h"

namespace pw {

// A file opened for output: created or emptied on open. Text is written in the system's 8-bit
// encoding without a byte-order mark.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual void print(TextView text) = 0;  // the text alone, no line break after it
  virtual void close() = 0;
};

enum class IoMode : short { Write = 2, Append = 8 };

// A stream of the file-system object. write() puts its text in one piece: when it fails part-way
// the file is cut back to the length it had before.
class TextStream {
 public:
  virtual ~TextStream() = default;
  virtual void write(TextView text) = 0;
  virtual void close() = 0;
};

class FileSystemObject {
 public:
  virtual ~FileSystemObject() = default;
  // `unicode` false selects the system's 8-bit encoding.
  virtual std::unique_ptr<TextStream> openTextFile(TextView path, IoMode mode, bool create,
                                                   bool unicode) = 0;
};

class Files {
 public:
  virtual ~Files() = default;
  // Modification time (seconds since the epoch); fails when the path names nothing.
  virtual std::int64_t fileDateTime(TextView path) = 0;
  // The name part of `path` when it is an existing normal file (attributes 0), else "".
  virtual Text dir(TextView path, int attributes) = 0;
  virtual std::unique_ptr<OutputFile> openForOutput(TextView path) = 0;
  virtual std::unique_ptr<FileSystemObject> createFileSystemObject() = 0;
};

}  // namespace pw
