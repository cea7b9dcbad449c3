// The text box under random text and random edits: its exact text always equals a simple model
// in which each line break and each character is one unit.
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextCursor>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/qt/exacttextedit.h"
#include "platform/qtext/qtext.h"
#include "tests/doubles/textunits.h"

namespace {

using pw::test::join;
using pw::test::units;
using pw::test::Units;
const auto position = pw::test::displayPosition;

const pw::Text kPieces[] = {u"a", u"\r", u"\n", u"\r\n", u"\u2028", u"\u2029", u"\u00A0", pw::Text(1, u'\0'),
                            u"\U0001F600", u"Ж", u"\t", u" "};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  new QApplication(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static pw::ExactTextEdit* box = [] {
    auto* b = new pw::ExactTextEdit;
    b->show();
    return b;
  }();
  std::size_t at = 0;
  const auto next = [&]() -> unsigned { return at < size ? data[at++] : 0; };
  Units model;
  for (unsigned n = next() % 24; n > 0; --n) model.push_back(kPieces[next() % std::size(kPieces)]);
  box->setExactText(join(model));
  model = units(join(model));
  while (at < size) {
    const unsigned op = next() % 5;
    const std::size_t index = model.empty() ? 0 : next() % (model.size() + 1);
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(position(model, index));
    box->setTextCursor(cursor);
    if (op == 0) {
      QTest::keyClick(box, Qt::Key_X);
      model.insert(model.begin() + static_cast<long>(index), u"x");
    } else if (op == 1) {
      QTest::keyClick(box, Qt::Key_Return);
      model.insert(model.begin() + static_cast<long>(index), u"\r\n");
    } else if (op == 2) {
      QTest::keyClick(box, Qt::Key_Backspace);
      if (index > 0) model.erase(model.begin() + static_cast<long>(index) - 1);
    } else if (op == 3) {
      QTest::keyClick(box, Qt::Key_Delete);
      if (index < model.size()) model.erase(model.begin() + static_cast<long>(index));
    } else {
      const pw::Text pasted = kPieces[next() % std::size(kPieces)] + kPieces[next() % std::size(kPieces)];
      QGuiApplication::clipboard()->setText(pw::toQString(pasted));
      box->paste();
      model = units(join(Units(model.begin(), model.begin() + static_cast<long>(index))) + pasted +
                    join(Units(model.begin() + static_cast<long>(index), model.end())));
    }
    model = units(join(model));  // a CR and an LF brought together are one line break
    if (box->exactText() != join(model)) __builtin_trap();
  }
  return 0;
}
