#include "app/win/form1.h"

#include <commctrl.h>

#include <algorithm>

#include "app/commands.h"
#include "app/controls/commondialog.h"
#include "app/startup.h"
#include "platform/wintext/wintext.h"

namespace pw::winui {
namespace {

constexpr wchar_t kClass[] = L"PagewickForm1";
// Fixed size, no maximize box.
// Not WS_CLIPCHILDREN: the frames draw no inside of their own, the window paints it.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

COLORREF rgb(std::uint32_t colour) {
  return colour & 0x80000000u ? GetSysColor(static_cast<int>(colour & 0xFF)) : static_cast<COLORREF>(colour);
}

HFONT createFont(const layout::Font& font, int dpi) {
  return CreateFontW(-MulDiv(static_cast<int>(font.points * 100), dpi, 7200), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                     FALSE, FALSE, FALSE, static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     CLEARTYPE_QUALITY, DEFAULT_PITCH, win::wide(font.face).c_str());
}

// The control's pointer feedback: over a push button the window shows the custom pointer, over
// the text box the default one, as the Qt window does.
LRESULT CALLBACK pointerProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  if (message == WM_MOUSEMOVE) {
    auto* form = reinterpret_cast<Form1*>(data);
    const bool button = (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
    PointerMoved(*form, button ? kPointerCustom : kPointerDefault);
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

// Holds the skin's colours for the window.
class WinSkin final : public controls::SkinControl {
 public:
  explicit WinSkin(Form1& form) : form_(form) {}

 protected:
  bool dress(WindowHandle window, const Dress& dress) override {
    if (window != form_.handle()) return false;
    if (dress.draw) form_.applySkin(controls::skinColours(dress.sheet));
    return true;
  }

 private:
  Form1& form_;
};

}  // namespace

Form1::Form1(Services& services)
    : s_(services),
      events_(services, *this),
      skin_(std::make_unique<WinSkin>(*this)),
      dialog_(std::make_unique<controls::CommonDialog>(services.saveDialog, [this] { return handle(); })) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClass;
  RegisterClassExW(&windowClass);

  // Made on the primary monitor, whose DPI the layout then takes, and centred in its work area.
  window_ = CreateWindowExW(kExStyle, kClass, L"Form1", kStyle, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                            this);
  createControls();
  applyDpi(GetDpiForWindow(window_));
  RECT work{}, frame{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(window_, &frame);
  SetWindowPos(window_, nullptr, work.left + (work.right - work.left - (frame.right - frame.left)) / 2,
               work.top + (work.bottom - work.top - (frame.bottom - frame.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  s_.app.setMainWindow(handle());
}

Form1::~Form1() {
  if (window_) DestroyWindow(window_);
  for (auto& [colour, brush] : brushes_) DeleteObject(brush);
  DeleteObject(formFont_);
  DeleteObject(buttonFont_);
  if (mouseIcon_) DestroyCursor(mouseIcon_);
  for (HICON icon : icons_) {
    if (icon) DestroyIcon(icon);
  }
}

void Form1::createControls() {
  for (const layout::Control& c : layout::kControls) {
    const wchar_t* windowClass = L"BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (c.kind) {
      case ControlKind::TextBox:
        windowClass = L"EDIT";
        exStyle = WS_EX_CLIENTEDGE;
        // Text1 scrolls both ways: a long line stays one line.
        style |= WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL |
                 (c.number == 1 ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL | ES_NOHIDESEL : 0);
        break;
      case ControlKind::Frame: style |= BS_GROUPBOX; break;
      case ControlKind::PushButton: style |= BS_OWNERDRAW | WS_TABSTOP | WS_GROUP; break;
      case ControlKind::Label: windowClass = L"STATIC"; style |= SS_LEFTNOWORDWRAP; break;
      case ControlKind::OptionButton: style |= BS_AUTORADIOBUTTON | (c.number == 1 ? WS_GROUP : 0); break;
      default: break;
    }
    const int id = layout::kFirstControlId + static_cast<int>(collection_.size());
    HWND hwnd = CreateWindowExW(exStyle, windowClass, win::wide(c.caption).c_str(), style, 0, 0, 0, 0, window_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (c.kind == ControlKind::TextBox && c.number != 1) SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);
    if (c.kind == ControlKind::PushButton || (c.kind == ControlKind::TextBox && c.number == 1)) {
      SetWindowSubclass(hwnd, pointerProc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    collection_.push_back({c.kind, &c, hwnd, layout::startsWhite(c) ? std::optional(kWhite) : std::nullopt, std::nullopt});
  }
  collection_.push_back({ControlKind::CommonDialog, nullptr, nullptr, {}, {}});
  collection_.push_back({ControlKind::SkinFramework, nullptr, nullptr, {}, {}});
  text1_ = std::make_unique<Text1Box>(control({ControlKind::TextBox, 1}),
                                      [this] { events_.textChanged(1); });

  // The keyboard visits the controls in their stacking order: make it the tab order.
  HWND previous = HWND_TOP;
  for (const layout::Ref& ref : layout::kTabOrder) {
    SetWindowPos(control(ref), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control(ref);
  }
  for (const Control& c : collection_) {
    if (c.entry && c.entry->kind == ControlKind::Frame) {
      SetWindowPos(c.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  updateOptionTabStop();
}

// The fonts at `dpi`, and the layout again with them.
void Form1::applyDpi(UINT dpi) {
  dpi_ = static_cast<int>(dpi);
  const HFONT oldForm = formFont_, oldButton = buttonFont_;
  formFont_ = createFont(layout::kFormFont, dpi_);
  buttonFont_ = createFont(layout::kButtonFont, dpi_);
  layOut();
  if (oldForm) DeleteObject(oldForm);
  if (oldButton) DeleteObject(oldButton);
}

// The layout's twips in pixels at the window's DPI: its inside, and each control's place, size
// and font.
void Form1::layOut() {
  // The frame as Windows draws it, at the DPI the window has now.
  RECT frame{0, 0, px(layout::kForm.width), px(layout::kForm.height)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, GetDpiForWindow(window_));
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const Control& c : collection_) {
    if (!c.entry) continue;
    const layout::Rect at = layout::inWindow(*c.entry);
    SetWindowPos(c.hwnd, nullptr, px(at.left), px(at.top), px(at.width), px(at.height), SWP_NOZORDER | SWP_NOACTIVATE);
    const HFONT font = c.kind == ControlKind::PushButton ? buttonFont_ : formFont_;
    SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

HWND Form1::control(layout::Ref ref) const {
  for (const Control& c : collection_) {
    if (c.entry && c.entry->kind == ref.kind && c.entry->number == ref.number) return c.hwnd;
  }
  return nullptr;
}

const Form1::Control* Form1::controlOf(HWND hwnd) const {
  for (const Control& c : collection_) {
    if (c.hwnd == hwnd) return &c;
  }
  return nullptr;
}

void Form1::load() {
  Form_Load(s_, *this);
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  SetFocus(control({ControlKind::TextBox, 3}));
}

LRESULT CALLBACK Form1::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return form ? form->handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DRAWITEM: drawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: return reinterpret_cast<LRESULT>(brushFor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
    case WM_ERASEBKGND: {
      RECT all;
      GetClientRect(window_, &all);
      FillRect(reinterpret_cast<HDC>(wParam), &all, brush(back_));
      // A frame's colour fills its inside, as a frame of the Qt window does.
      for (const Control& c : collection_) {
        if (!c.entry || c.entry->kind != ControlKind::Frame || !c.back) continue;
        RECT inside;
        GetWindowRect(c.hwnd, &inside);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&inside), 2);
        FillRect(reinterpret_cast<HDC>(wParam), &inside, brush(*c.back));
      }
      return TRUE;
    }
    case WM_MOUSEMOVE: PointerMoved(*this, kPointerDefault); return 0;
    case WM_SETCURSOR:
      if (pointer_ == kPointerDefault) break;
      SetCursor(pointer_ == kPointerHourglass ? LoadCursorW(nullptr, IDC_WAIT)
                                               : mouseIcon_ ? mouseIcon_ : LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_TIMER:
      if (wParam == Text1Box::kTimer) text1_->onTimer();
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor of another scale, or the scale changed: laid out afresh, at the
      // place Windows suggests.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      applyDpi(HIWORD(wParam));
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      // Form_Unload: everything is saved already. End leaves the program and does not come back;
      // WM_DESTROY's quit is not for this path.
      s_.app.end();
      return 0;
    case WM_DESTROY:
      // Destroyed otherwise (by whoever made the window, in a test): the message loop ends.
      PostQuitMessage(0);
      return 0;
    default: break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void Form1::onCommand(int id, int code) {
  const std::size_t index = static_cast<std::size_t>(id - layout::kFirstControlId);
  if (index >= collection_.size() || !collection_[index].entry) return;
  const layout::Control& c = *collection_[index].entry;
  // An owner-drawn button reports the second click of a quick pair as a double click only.
  if (c.kind == ControlKind::PushButton && (code == BN_CLICKED || code == BN_DOUBLECLICKED)) {
    return events_.buttonClicked(c.number);
  }
  if (c.kind == ControlKind::OptionButton && code == BN_CLICKED) optionChanged(c.number);
  if (c.kind == ControlKind::TextBox && code == EN_CHANGE) {
    if (c.number == 1) text1_->onEditChanged();
    if (c.number == 2) events_.textChanged(2);
  }
}

// White, with the push buttons' own font, raised, sunken while pressed.
void Form1::drawButton(const DRAWITEMSTRUCT& item) {
  const Control* c = controlOf(item.hwndItem);
  RECT area = item.rcItem;
  FillRect(item.hDC, &area, brush(c && c->back ? *c->back : kWhite));
  DrawEdge(item.hDC, &area, item.itemState & ODS_SELECTED ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
  const int length = GetWindowTextLengthW(item.hwndItem);
  std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
  caption.resize(static_cast<std::size_t>(GetWindowTextW(item.hwndItem, caption.data(), length + 1)));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, rgb(c && c->text ? *c->text : GetSysColor(COLOR_BTNTEXT)));
  HGDIOBJ old = SelectObject(item.hDC, buttonFont_);
  DrawTextW(item.hDC, caption.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(item.hDC, old);
  if (item.itemState & ODS_FOCUS) {
    InflateRect(&area, -2, -2);
    DrawFocusRect(item.hDC, &area);
  }
}

HBRUSH Form1::brushFor(HWND hwnd, HDC dc) {
  const Control* c = controlOf(hwnd);
  // A label takes its colour without showing it: it shows what lies behind it.
  std::uint32_t colour = back_;
  if (c && c->entry && c->entry->kind == ControlKind::Label) {
    for (const Control& f : collection_) {
      if (f.entry && f.entry->kind == ControlKind::Frame && f.entry->number == c->entry->frame && f.back) colour = *f.back;
    }
  } else if (c && c->back) {
    colour = *c->back;
  } else if (c && c->entry && c->entry->kind == ControlKind::TextBox) {
    colour = GetSysColor(COLOR_WINDOW);
  }
  if (c && c->text) SetTextColor(dc, rgb(*c->text));
  SetBkColor(dc, rgb(colour));
  return brush(colour);
}

HBRUSH Form1::brush(std::uint32_t colour) {
  auto& b = brushes_[colour];
  if (!b) b = CreateSolidBrush(rgb(colour));
  return b;
}

// Tab enters the option group at the chosen browser; with nothing chosen, at its first button.
void Form1::updateOptionTabStop() {
  int stop = 1;
  for (int n = 1; n <= 3; ++n) stop = option(n) ? n : stop;
  for (int n = 1; n <= 3; ++n) {
    HWND o = control({ControlKind::OptionButton, n});
    const LONG style = GetWindowLongW(o, GWL_STYLE);
    SetWindowLongW(o, GWL_STYLE, n == stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
}

bool Form1::option(int number) {
  return SendMessageW(control({ControlKind::OptionButton, number}), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form1::setOption(int number, bool value) {
  // False on an unselected option changes nothing; an option group cannot be emptied.
  if (!value || option(number)) return;
  for (int n = 1; n <= 3; ++n) {
    SendMessageW(control({ControlKind::OptionButton, n}), BM_SETCHECK, n == number ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  optionChanged(number);  // BM_SETCHECK notifies no one, unlike a click
}

void Form1::optionChanged(int number) {
  updateOptionTabStop();
  if (option(number)) events_.optionChosen();
}

Text Form1::text2() {
  HWND box = control({ControlKind::TextBox, 2});
  const int length = GetWindowTextLengthW(box);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), length + 1)));
  return win::fromWide(text.c_str(), text.size());
}

void Form1::setText2(TextView text) {
  if (text != text2()) SetWindowTextW(control({ControlKind::TextBox, 2}), win::wide(text).c_str());
}

void Form1::setCaption(TextView caption) { SetWindowTextW(window_, win::wide(caption).c_str()); }

void Form1::setApplicationIcon() {
  const int sizes[] = {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CXSMICON)};
  for (int i = 0; i < 2; ++i) {
    if (!icons_[i]) {
      icons_[i] = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, sizes[i], sizes[i], 0));
    }
    SendMessageW(window_, WM_SETICON, i == 0 ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icons_[i]));
  }
}

void Form1::setMouseIcon(const Picture& picture) {
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = picture.width;
  header.bV5Height = -picture.height;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (!colour) return;
  std::copy(picture.argb.begin(), picture.argb.end(), static_cast<std::uint32_t*>(bits));
  const std::vector<std::uint8_t> zeros(static_cast<std::size_t>((picture.width + 15) / 16 * 2) * picture.height);
  HBITMAP mask = CreateBitmap(picture.width, picture.height, 1, 1, zeros.data());
  ICONINFO parts{FALSE, static_cast<DWORD>(picture.hotX), static_cast<DWORD>(picture.hotY), mask, colour};
  if (HCURSOR cursor = CreateIconIndirect(&parts)) {
    if (mouseIcon_) DestroyCursor(mouseIcon_);
    mouseIcon_ = cursor;
  }
  DeleteObject(mask);
  DeleteObject(colour);
  if (pointer_ == kPointerCustom) setMousePointer(kPointerCustom);
}

void Form1::setMousePointer(int code) {
  pointer_ = code;
  POINT at;
  GetCursorPos(&at);
  // The pointer changes at once when it is over the window, not at its next move.
  const HWND under = WindowFromPoint(at);
  if (under && (under == window_ || IsChild(window_, under))) {
    SendMessageW(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  }
}

void Form1::setBackColor(std::uint32_t colour) {
  back_ = colour;
  InvalidateRect(window_, nullptr, TRUE);
}

std::vector<ControlKind> Form1::controls() {
  std::vector<ControlKind> kinds;
  for (const Control& c : collection_) kinds.push_back(c.kind);
  return kinds;
}

void Form1::setControlBackColor(std::size_t index, std::uint32_t colour) {
  Control& c = collection_.at(index);
  if (!c.hwnd) return;
  c.back = colour;
  InvalidateRect(window_, nullptr, TRUE);
  InvalidateRect(c.hwnd, nullptr, TRUE);
}

void Form1::applySkin(const std::vector<controls::SkinRule>& rules) {
  const auto kindsOf = [](const std::string& selector) -> std::vector<ControlKind> {
    if (selector == "QPushButton") return {ControlKind::PushButton};
    if (selector == "QGroupBox") return {ControlKind::Frame};
    if (selector == "QRadioButton") return {ControlKind::OptionButton};
    if (selector == "QLabel") return {ControlKind::Label};
    if (selector == "QLineEdit" || selector == "QPlainTextEdit" || selector == "QTextEdit") return {ControlKind::TextBox};
    return {};
  };
  for (const controls::SkinRule& rule : rules) {
    for (const std::string& selector : rule.selectors) {
      if (selector == "QWidget" || selector == "*" || selector == "Form1" || selector == "#Form1") {
        if (rule.background) back_ = *rule.background;
      }
      for (ControlKind kind : kindsOf(selector)) {
        for (Control& c : collection_) {
          if (!c.entry || c.entry->kind != kind) continue;
          if (rule.background) c.back = *rule.background;
          if (rule.text) c.text = *rule.text;
        }
      }
    }
  }
  RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

}  // namespace pw::winui
