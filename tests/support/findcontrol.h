#pragma once
// The window's controls as automation tools find them: by the names the program gives them
// (Text1, Option2, PushButton4, Frame1).
#include <QWidget>
#include <stdexcept>
#include <string>

namespace pw::test {

template <class W = QWidget>
W* control(const QWidget& window, const std::string& name) {
  W* found = window.findChild<W*>(QString::fromStdString(name));
  if (!found) throw std::logic_error("the window has no control named " + name);
  return found;
}

template <class W = QWidget>
W* control(const QWidget& window, const std::string& kind, int number) {
  return control<W>(window, kind + std::to_string(number));
}

}  // namespace pw::test
