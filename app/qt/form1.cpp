#include "app/qt/form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/commands.h"
#include "app/controls/commondialog.h"
#include "app/layout.h"
#include "app/qt/exacttextedit.h"
#include "app/qt/pushbutton.h"
#include "app/qt/skinframework.h"
#include "app/startup.h"
#include "platform/qtext/qtext.h"

namespace pw {
namespace {

// Layout units: 15 twips are one pixel at 96 dpi; Qt scales device-independent pixels itself.
QRect twips(layout::Rect r) {
  const auto px = [](int t) { return static_cast<int>(std::lround(t / 15.0)); };
  return {px(r.left), px(r.top), px(r.width), px(r.height)};
}

QColor colourOf(std::uint32_t colour) {
  if (colour & 0x80000000u) {
    // System colours: only the button face is used.
    return QApplication::palette().color(QPalette::Button);
  }
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// The colour fills the widget's own background role: Window for most, Button for buttons.
void paintBackground(QWidget* widget, std::uint32_t colour) {
  QPalette palette = widget->palette();
  palette.setColor(widget->backgroundRole(), colourOf(colour));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace

Form1::Form1(Services& services, std::unique_ptr<Dispatch> skin, std::unique_ptr<Dispatch> dialog)
    : s_(services),
      events_(services, *this),
      skin_(skin ? std::move(skin) : std::make_unique<controls::SkinFramework>()),
      dialog_(dialog ? std::move(dialog) : std::make_unique<controls::CommonDialog>(services.saveDialog, [this] { return handle(); })) {
  setWindowTitle(QStringLiteral("Form1"));
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(twips(layout::kForm).size());
  QFont font(toQString(layout::kFormFont.face));
  font.setPointSizeF(layout::kFormFont.points);
  font.setBold(layout::kFormFont.bold);
  setFont(font);
  paintBackground(this, kWhite);
  setMouseTracking(true);
  createControls();
  wireEvents();
  s_.app.setMainWindow(handle());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

Form1::~Form1() = default;

QWidget* Form1::createControl(const layout::Control& c, QWidget* parent) {
  const QString caption = toQString(c.caption);
  switch (c.kind) {
    case ControlKind::TextBox:
      if (c.number == 1) {
        text1_ = new ExactTextEdit(parent);
        text1_->viewport()->setMouseTracking(true);
        return text1_;
      }
      if (c.number == 3) return text3_ = new QLineEdit(caption, parent);
      text2_ = new QLineEdit(caption, parent);
      text2_->setMaxLength(std::numeric_limits<int>::max());  // a restored path is never cut short
      return text2_;
    case ControlKind::Frame: {
      auto* f = new QGroupBox(caption, parent);
      f->setMouseTracking(true);
      (c.number == 1 ? frame1_ : c.number == 2 ? frame2_ : frame5_) = f;
      return f;
    }
    case ControlKind::PushButton: return buttons_.at(c.number) = new controls::PushButton(caption, parent);
    case ControlKind::Label: return new QLabel(caption, parent);
    case ControlKind::OptionButton: return options_.at(c.number - 1) = new QRadioButton(caption, parent);
    default: return nullptr;
  }
}

QWidget* Form1::control(layout::Ref ref) const {
  switch (ref.kind) {
    case ControlKind::TextBox: return ref.number == 1 ? static_cast<QWidget*>(text1_) : ref.number == 2 ? text2_ : text3_;
    case ControlKind::PushButton: return buttons_.at(ref.number);
    case ControlKind::OptionButton: return options_.at(ref.number - 1);
    default: return frame(ref.number);
  }
}

void Form1::createControls() {
  for (const layout::Control& c : layout::kControls) {
    QWidget* widget = createControl(c, c.frame ? frame(c.frame) : static_cast<QWidget*>(this));
    widget->setObjectName(toQString(layout::controlName(c)));
    widget->setGeometry(twips(c.at));
    if (layout::startsWhite(c)) paintBackground(widget, kWhite);
    collection_.emplace_back(widget, c.kind);
  }
  collection_.emplace_back(nullptr, ControlKind::CommonDialog);
  collection_.emplace_back(nullptr, ControlKind::SkinFramework);

  // Pointer movement over a control is that control's alone, never its frame's too.
  for (const auto& [widget, kind] : collection_) {
    if (widget && kind != ControlKind::Frame) widget->setAttribute(Qt::WA_NoMousePropagation);
  }
  for (std::size_t i = 0; i + 1 < layout::kTabOrder.size(); ++i) {
    setTabOrder(control(layout::kTabOrder[i]), control(layout::kTabOrder[i + 1]));
  }
  text3_->setFocus();
}

void Form1::wireEvents() {
  for (int number = 0; number < static_cast<int>(buttons_.size()); ++number) {
    if (!buttons_[number]) continue;
    connect(buttons_[number], &QPushButton::clicked, this, [this, number] { events_.buttonClicked(number); });
    connect(buttons_[number], &controls::PushButton::pointerMoved, this, [this] { PointerMoved(*this, kPointerCustom); });
  }
  for (QRadioButton* option : options_) {
    connect(option, &QRadioButton::toggled, this, [this](bool checked) {
      updateOptionTabStop();
      if (checked) events_.optionChosen();
    });
  }
  connect(text1_, &ExactTextEdit::exactTextChanged, this, [this] { events_.textChanged(1); });
  connect(text2_, &QLineEdit::textChanged, this, [this] { events_.textChanged(2); });

  for (QObject* watched : std::initializer_list<QObject*>{frame1_, frame2_, frame5_, text1_, text1_->viewport()}) {
    watched->installEventFilter(this);
  }
}

void Form1::load() { Form_Load(s_, *this); }

// Tab enters the option group at the chosen browser, where Space keeps the choice; the arrow keys
// still move within the group. With nothing chosen, the group is entered at its first button.
void Form1::updateOptionTabStop() {
  const auto chosen = std::find_if(options_.begin(), options_.end(), [](QRadioButton* o) { return o->isChecked(); });
  const QRadioButton* stop = chosen == options_.end() ? options_[0] : *chosen;
  for (QRadioButton* option : options_) option->setFocusPolicy(option == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) PointerMoved(*this, kPointerDefault);
  return QWidget::eventFilter(watched, event);
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
  PointerMoved(*this, kPointerDefault);
  QWidget::mouseMoveEvent(event);
}

void Form1::closeEvent(QCloseEvent* event) {
  // Form_Unload: everything is saved already.
  event->accept();
  s_.app.end();
}

bool Form1::option(int number) { return options_.at(static_cast<std::size_t>(number - 1))->isChecked(); }

Text Form1::text1() { return text1_->exactText(); }

void Form1::setText1(TextView text) { text1_->setExactText(text); }

void Form1::appendText1(TextView suffix) { text1_->appendExactText(suffix); }

Text Form1::text2() { return fromQString(text2_->text()); }

WindowHandle Form1::handle() { return static_cast<WindowHandle>(winId()); }

void Form1::setOption(int number, bool value) {
  // False on an unselected option changes nothing; an option group cannot be emptied.
  if (value) options_.at(static_cast<std::size_t>(number - 1))->setChecked(true);
}

void Form1::setText2(TextView text) {
  const QString value = toQString(text);
  if (value != text2_->text()) text2_->setText(value);
}

void Form1::setCaption(TextView caption) { setWindowTitle(toQString(caption)); }

void Form1::setApplicationIcon() {
  QIcon icon;
  for (int size : {48, 128, 256}) icon.addFile(QStringLiteral(":/pagewick/pagewick-%1.png").arg(size), QSize(size, size));
  setWindowIcon(icon);
}

void Form1::setMouseIcon(const Picture& picture) {
  QImage image(reinterpret_cast<const uchar*>(picture.argb.data()), picture.width, picture.height,
               QImage::Format_ARGB32);
  mouseIcon_ = QCursor(QPixmap::fromImage(image.copy()), picture.hotX, picture.hotY);
  if (pointer_ == kPointerCustom) setMousePointer(kPointerCustom);
}

void Form1::setMousePointer(int code) {
  pointer_ = code;
  if (code == kPointerHourglass) {
    setCursor(Qt::WaitCursor);
  } else if (code == kPointerCustom) {
    // Without a pointer picture, the desktop's pointing hand.
    setCursor(mouseIcon_ ? *mouseIcon_ : QCursor(Qt::PointingHandCursor));
  } else {
    unsetCursor();
  }
}

void Form1::setBackColor(std::uint32_t colour) { paintBackground(this, colour); }

std::vector<ControlKind> Form1::controls() {
  std::vector<ControlKind> kinds;
  for (const auto& entry : collection_) kinds.push_back(entry.second);
  return kinds;
}

void Form1::setControlBackColor(std::size_t index, std::uint32_t colour) {
  QWidget* widget = collection_.at(index).first;
  if (!widget) return;
  if (collection_[index].second == ControlKind::Label) {
    // A label draws no background of its own; it takes the colour without showing it.
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colourOf(colour));
    widget->setPalette(palette);
    return;
  }
  paintBackground(widget, colour);
}


QGroupBox* Form1::frame(int number) const { return number == 1 ? frame1_ : number == 2 ? frame2_ : frame5_; }

}  // namespace pw
