#pragma once
// The one window: its controls where the layout puts them, its events wired to the handlers.
#include <QCursor>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

#include "app/mainwindow.h"
#include "app/formevents.h"
#include "platform/services.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace pw {

namespace layout {
struct Control;
struct Ref;
}  // namespace layout
namespace controls {
class PushButton;
}
class ExactTextEdit;

class Form1 final : public QWidget, public MainWindow {
  Q_OBJECT
 public:
  // Without `skin` or `dialog` the window makes the real controls.
  explicit Form1(Services& services, std::unique_ptr<Dispatch> skin = nullptr,
                 std::unique_ptr<Dispatch> dialog = nullptr);
  ~Form1() override;

  // Runs start-up; the caller shows the window afterwards.
  void load();

  // CaptureWindow and MainWindow.
  bool option(int number) override;
  Text text1() override;
  void setText1(TextView text) override;
  void appendText1(TextView suffix) override;
  Text text2() override;
  WindowHandle handle() override;
  void setOption(int number, bool value) override;
  void setText2(TextView text) override;
  void setCaption(TextView caption) override;
  void setApplicationIcon() override;
  void setMouseIcon(const Picture& picture) override;
  int mousePointer() override { return pointer_; }
  void setMousePointer(int code) override;
  void setBackColor(std::uint32_t colour) override;
  std::vector<ControlKind> controls() override;
  void setControlBackColor(std::size_t index, std::uint32_t colour) override;
  Dispatch& skin() override { return *skin_; }
  Dispatch& dialog() override { return *dialog_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  QWidget* createControl(const layout::Control& control, QWidget* parent);
  QWidget* control(layout::Ref ref) const;
  QGroupBox* frame(int number) const;
  void wireEvents();
  void updateOptionTabStop();

  Services& s_;
  FormEvents events_;
  std::unique_ptr<Dispatch> skin_;
  std::unique_ptr<Dispatch> dialog_;
  int pointer_ = kPointerDefault;
  std::optional<QCursor> mouseIcon_;

  QLineEdit* text3_ = nullptr;
  QLineEdit* text2_ = nullptr;
  ExactTextEdit* text1_ = nullptr;
  QGroupBox* frame1_ = nullptr;
  QGroupBox* frame2_ = nullptr;
  QGroupBox* frame5_ = nullptr;
  std::array<QRadioButton*, 3> options_{};
  std::array<controls::PushButton*, 10> buttons_{};  // by number; 7 and 8 are not used
  // The control collection in creation order, with each control's kind.
  std::vector<std::pair<QWidget*, ControlKind>> collection_;
};

}  // namespace pw
