#include "platform/posix/durablereplace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace pw::posix {

DurableReplace::~DurableReplace() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  work_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void DurableReplace::replace(Fd file, std::string temp, std::string target) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(Job{std::move(file), std::move(temp), std::move(target)});
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
  }
  work_.notify_one();
}

void DurableReplace::flush() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void DurableReplace::flush(const std::string& target) {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [&] {
    return (!busy_ || *busy_ != target) &&
           std::none_of(queue_.begin(), queue_.end(), [&](const Job& job) { return job.target == target; });
  });
}

int DurableReplace::takeFailure(const std::string& target) {
  std::lock_guard lock(mutex_);
  auto it = failures_.find(target);
  if (it == failures_.end()) return 0;
  const int error = it->second;
  failures_.erase(it);
  return error;
}

int DurableReplace::commit(Job& job) {
  if (int e = syncFd(job.file.get())) return e;
  if (int e = job.file.close()) return e;
  if (::rename(job.temp.c_str(), job.target.c_str()) != 0) return errno;
  return syncFolderOf(job.target);
}

void DurableReplace::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    work_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;  // stopping, and everything is done
    Job job = std::move(queue_.front());
    queue_.pop_front();
    const bool superseded = std::any_of(queue_.begin(), queue_.end(),
                                        [&](const Job& later) { return later.target == job.target; });
    busy_ = &job.target;
    lock.unlock();
    // Removing a superseded file, and the old file a rename replaces, frees its pages: that
    // takes milliseconds for a large value, and happens here rather than on the caller's thread.
    const int error = superseded ? 0 : commit(job);
    if (superseded || error) ::unlink(job.temp.c_str());
    job.file.close();
    lock.lock();
    busy_ = nullptr;
    if (error) {
      failures_[job.target] = error;
    } else if (!superseded) {
      failures_.erase(job.target);  // the newest value is saved; an earlier failure lost nothing
    }
    idle_.notify_all();
  }
}

}  // namespace pw::posix
