#pragma once
#include <QString>

#include "app/controls/dispatch.h"

namespace pw::controls {

// The skin control, with the members of members::skin. A skin file is a Qt style sheet in UTF-8.
class SkinFramework final : public Dispatch {
 public:
  Variant invoke(int dispatchId, Invoke kind, const std::vector<Variant>& args) override;
  const QString& styleSheet() const { return sheet_; }

 private:
  void load(const Text& path);
  void apply(std::int32_t handle);

  QString sheet_;
  bool loaded_ = false;
  std::int32_t options_ = 0;
  bool dialogs_ = false;
  bool fusion_ = false;
};

}  // namespace pw::controls
