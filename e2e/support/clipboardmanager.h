#pragma once
// A minimal clipboard manager for tests: owns CLIPBOARD_MANAGER, and on SAVE_TARGETS takes the
// clipboard's text (up to 64 KB) from its owner, takes the clipboard itself and serves the text.
#include <atomic>
#include <string>
#include <thread>

namespace pw::e2e {

class ClipboardManager {
 public:
  explicit ClipboardManager(const std::string& display);
  ~ClipboardManager();
  // The text saved from the last owner, once there is one.
  std::string saved() const;
  bool ownsClipboard() const { return owns_; }

 private:
  void run();
  std::string display_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> owns_{false};
  std::atomic<bool> ready_{false};
  mutable std::atomic<const std::string*> saved_{nullptr};
  std::string text_;
  std::thread thread_;
};

}  // namespace pw::e2e
