#pragma once
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "platform/posix/fd.h"

namespace pw::posix {

// Replaces files so that a power cut leaves the old file or the new one, whole: the new file's
// data reaches the disk, then it is renamed over the old one, then the folder's entry reaches the
// disk. Until the rename, every reader sees the old file.
//
// Waiting for the disk takes several times as long as writing the bytes (0.17 s against 35 ms for
// 200 MB here), so it happens on a thread of its own. The caller writes the new file and hands it
// over; of several replacements of one file that are waiting, only the newest is done.
class DurableReplace {
 public:
  DurableReplace() = default;
  ~DurableReplace();  // finishes what was handed over
  DurableReplace(const DurableReplace&) = delete;
  DurableReplace& operator=(const DurableReplace&) = delete;

  // `file` holds the new content, written and still open, at `temp` beside `target`.
  void replace(Fd file, std::string temp, std::string target);
  // Returns when everything handed over so far is on the disk, or has failed.
  void flush();
  // The same for the replacements of `target` alone.
  void flush(const std::string& target);
  // The errno of the latest failed replacement of `target` since the last call, or 0.
  int takeFailure(const std::string& target);

 private:
  struct Job {
    Fd file;
    std::string temp, target;
  };
  void run();
  static int commit(Job& job);

  std::mutex mutex_;
  std::condition_variable work_, idle_;
  std::deque<Job> queue_;
  std::map<std::string, int> failures_;
  const std::string* busy_ = nullptr;  // the target being replaced now
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace pw::posix
