#include "platform/keystrokes.h"

#include <array>
#include <utility>

#include "platform/runtimeerror.h"

namespace pw {
namespace {

constexpr std::array<std::pair<std::u16string_view, NamedKey>, 41> kNames{{
    {u"ENTER", NamedKey::Enter}, {u"TAB", NamedKey::Tab}, {u"ESC", NamedKey::Escape},
    {u"ESCAPE", NamedKey::Escape}, {u"BACKSPACE", NamedKey::Backspace}, {u"BS", NamedKey::Backspace},
    {u"BKSP", NamedKey::Backspace}, {u"DELETE", NamedKey::Delete}, {u"DEL", NamedKey::Delete},
    {u"INSERT", NamedKey::Insert}, {u"INS", NamedKey::Insert}, {u"HOME", NamedKey::Home},
    {u"END", NamedKey::End}, {u"PGUP", NamedKey::PageUp}, {u"PGDN", NamedKey::PageDown},
    {u"UP", NamedKey::Up}, {u"DOWN", NamedKey::Down}, {u"LEFT", NamedKey::Left},
    {u"RIGHT", NamedKey::Right}, {u"CAPSLOCK", NamedKey::CapsLock}, {u"NUMLOCK", NamedKey::NumLock},
    {u"SCROLLLOCK", NamedKey::ScrollLock}, {u"PRTSC", NamedKey::PrintScreen},
    {u"BREAK", NamedKey::Break}, {u"HELP", NamedKey::Help}, {u"F1", NamedKey::F1},
    {u"F2", NamedKey::F2}, {u"F3", NamedKey::F3}, {u"F4", NamedKey::F4}, {u"F5", NamedKey::F5},
    {u"F6", NamedKey::F6}, {u"F7", NamedKey::F7}, {u"F8", NamedKey::F8}, {u"F9", NamedKey::F9},
    {u"F10", NamedKey::F10}, {u"F11", NamedKey::F11}, {u"F12", NamedKey::F12},
    {u"F13", NamedKey::F13}, {u"F14", NamedKey::F14}, {u"F15", NamedKey::F15},
    {u"F16", NamedKey::F16},
}};

char16_t upper(char16_t c) { return c >= u'a' && c <= u'z' ? c - 32 : c; }

class Parser {
 public:
  explicit Parser(TextView keys) : keys_(keys) {}

  std::vector<KeyStroke> run() {
    sequence(0, false);
    return out_;
  }

 private:
  [[noreturn]] void fail(const Text& why) {
    throw RuntimeError(err::InvalidProcedureCall,
                       u"The keystrokes \"" + Text(keys_) + u"\" cannot be sent: " + why + u".");
  }

  // Reads items until the end, or until the ')' that closes a group.
  void sequence(unsigned modifiers, bool inGroup) {
    while (pos_ < keys_.size()) {
      if (keys_[pos_] == u')') {
        if (!inGroup) fail(u"a ')' at position " + number(pos_ + 1) + u" closes no group");
        ++pos_;
        return;
      }
      item(modifiers);
    }
    if (inGroup) fail(u"a '(' is not closed");
  }

  void item(unsigned modifiers) {
    const char16_t c = keys_[pos_];
    unsigned mod = c == u'+' ? unsigned(Shift) : c == u'^' ? unsigned(Ctrl) : c == u'%' ? unsigned(Alt) : 0u;
    if (mod) {
      ++pos_;
      if (pos_ >= keys_.size()) fail(u"it ends with a modifier and no key");
      return item(modifiers | mod);
    }
    if (c == u'(') {
      ++pos_;
      return sequence(modifiers, true);
    }
    if (c == u'{') return braced(modifiers);
    if (c == u'}') fail(u"a '}' at position " + number(pos_ + 1) + u" has no '{'");
    if (c == u'~') {
      ++pos_;
      return emit(modifiers, 0, NamedKey::Enter, 1);
    }
    emit(modifiers, codePoint(), NamedKey::NotNamed, 1);
  }

  char32_t codePoint() {
    std::size_t width = 1;
    const char32_t c = codePointAt(keys_, pos_, &width);
    pos_ += width;
    return c;
  }

  // {X}, {NAME} or {NAME n}; "{}}" is a literal '}'.
  void braced(unsigned modifiers) {
    const std::size_t start = ++pos_;
    std::size_t close = keys_.find(u'}', start + 1);
    if (close == TextView::npos) fail(u"a '{' is not closed");
    TextView body = keys_.substr(start, close - start);
    pos_ = close + 1;

    int count = 1;
    if (auto blank = body.rfind(u' '); blank != TextView::npos && blank > 0) {
      TextView digits = body.substr(blank + 1);
      if (digits.empty() || digits.size() > 4) fail(u"the count in {" + Text(body) + u"} is not a number");
      count = 0;
      for (char16_t d : digits) {
        if (d < u'0' || d > u'9') fail(u"the count in {" + Text(body) + u"} is not a number");
        count = count * 10 + (d - u'0');
      }
      body = body.substr(0, blank);
    }
    if (body.size() == 1 || (body.size() == 2 && isHighSurrogate(body[0]))) {
      TextView saved = keys_;
      std::size_t savedPos = pos_;
      keys_ = body;
      pos_ = 0;
      char32_t ch = codePoint();
      keys_ = saved;
      pos_ = savedPos;
      return emit(modifiers, ch, NamedKey::NotNamed, count);
    }
    Text name;
    for (char16_t ch : body) name.push_back(upper(ch));
    for (const auto& [n, key] : kNames) {
      if (n == name) return emit(modifiers, 0, key, count);
    }
    fail(u"{" + Text(body) + u"} is not a key name");
  }

  void emit(unsigned modifiers, char32_t ch, NamedKey named, int count) {
    for (int i = 0; i < count; ++i) out_.push_back({modifiers, ch, named});
  }

  TextView keys_;
  std::size_t pos_ = 0;
  std::vector<KeyStroke> out_;
};

}  // namespace

std::vector<KeyStroke> parseKeys(TextView keys) { return Parser(keys).run(); }

Text keyHeldDescription(TextView keys, TextView key) {
  return u"The keystrokes \"" + Text(keys) + u"\" were not sent: the " + Text(key) + u" key is still held down.";
}

Text keyNotOnLayoutDescription(TextView keys) {
  return u"The keystrokes \"" + Text(keys) + u"\" cannot be sent: a key in them is not on the active keyboard layout.";
}

}  // namespace pw
