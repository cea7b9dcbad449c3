#pragma once
// The clipboard through the compositor's data-control extension (the standard ext one, or the
// wlroots one it grew from), which reads and sets the selection without the input focus. A client's own clipboard only sees changes while it has the
// focus, and during a capture the browser has it.
#include <memory>
#include <string>

#include "platform/clipboard.h"

struct zwlr_data_control_manager_v1;
struct zwlr_data_control_device_v1;
struct zwlr_data_control_source_v1;

namespace pw::wayland {

class Connection;

class DataClipboard final : public Clipboard {
 public:
  static bool supported(const Connection& connection);
  // The globals one of which it needs, for a refusal to name.
  static const char* interfaces();
  // A program that sends nothing for `answerMs` counts as not answering.
  explicit DataClipboard(Connection& connection, int answerMs = kOwnerAnswerMs);
  ~DataClipboard() override;

  void clear() override;
  void setText(TextView text, std::optional<int> format) override;
  Text text(std::optional<int> format) override;
  bool hasText() override;

  // The text we serve now, if the clipboard is ours.
  const std::string* ownText() const { return source_ ? &ownText_ : nullptr; }

  struct Offer;

 private:
  void select(zwlr_data_control_source_v1* source);
  void serve(int fd) const;
  std::string receive(const char* mime);

  Connection& connection_;
  int answerMs_;
  zwlr_data_control_manager_v1* manager_;
  zwlr_data_control_device_v1* device_;
  std::unique_ptr<Offer> offer_;    // what the clipboard holds, when another program set it
  std::unique_ptr<Offer> arriving_;  // announced, not yet the selection
  zwlr_data_control_source_v1* source_ = nullptr;  // ours, while it is the selection
  int selections_ = 0;  // selection events so far
  std::string ownText_;
};

}  // namespace pw::wayland
