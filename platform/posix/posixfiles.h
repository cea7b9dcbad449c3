#pragma once
#include "platform/files.h"

namespace pw::posix {

class PosixFiles final : public Files {
 public:
  std::int64_t fileDateTime(TextView path) override;
  Text dir(TextView path, int attributes) override;
  std::unique_ptr<OutputFile> openForOutput(TextView path) override;
  std::unique_ptr<FileSystemObject> createFileSystemObject() override;
};

// The path as the bytes the system takes; a NUL or a lone surrogate makes it a bad file name.
std::string nativePath(TextView path);

}  // namespace pw::posix
