#include "app/qt/exacttextedit.h"

#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <numeric>

#include "platform/qtext/qtext.h"
#include "platform/memory.h"

namespace pw {
namespace {

constexpr char16_t kParagraph = 0x2029;

// Where the break starting at `at` ends, or `at` when there is none.
std::size_t breakEnd(TextView t, std::size_t at) {
  if (at >= t.size()) return at;
  if (t[at] == u'\r') return at + 1 < t.size() && t[at + 1] == u'\n' ? at + 2 : at + 1;
  return t[at] == u'\n' || t[at] == kParagraph ? at + 1 : at;
}

class Guard {
 public:
  explicit Guard(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~Guard() { flag_ = was_; }

 private:
  bool& flag_;
  bool was_;
};

}  // namespace

ExactTextEdit::ExactTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Tab leaves the box, as in other text boxes of the window.
  setTabChangesFocus(true);
  connect(document(), &QTextDocument::contentsChange, this, &ExactTextEdit::onContentsChange);
  showing_.setInterval(0);
  connect(&showing_, &QTimer::timeout, this, &ExactTextEdit::showPiece);
}

QString ExactTextEdit::display(TextView exact, std::vector<std::uint8_t>* breaks) {
  QString shown;
  shown.reserve(static_cast<qsizetype>(exact.size()));
  for (std::size_t i = 0; i < exact.size();) {
    const std::size_t end = breakEnd(exact, i);
    if (end == i) {
      shown.append(QChar(exact[i++]));
      continue;
    }
    shown.append(QChar(kParagraph));
    if (breaks) breaks->push_back(static_cast<std::uint8_t>(end - i));
    i = end;
  }
  return shown;
}

void ExactTextEdit::setExactText(TextView text) {
  if (text == exact_) return;
  if (!exact_.empty() && text.size() > exact_.size() && text.starts_with(exact_)) {
    return appendExactText(text.substr(exact_.size()));
  }
  resetExactText(text);
}

void ExactTextEdit::resetExactText(TextView text) {
  {
    Guard guard(ours_);
    exact_ = text;
    breaks_.clear();
    shown_ = 0;
    displayLength_ = 0;
    setPlainText(QString());
    // Laying out a large text takes long (0.6 s for 10 MB): the first piece is shown now, the rest
    // from the event loop, with the box read-only meanwhile.
    document()->setUndoRedoEnabled(false);
    showPiece();
    if (shown_ < exact_.size()) {
      setReadOnly(true);
      showing_.start();
    } else {
      document()->setUndoRedoEnabled(true);
    }
  }
  emit exactTextChanged();
}

void ExactTextEdit::showPiece() {
  Guard guard(ours_);
  std::size_t end = std::min(exact_.size(), shown_ + kPieceLength);
  if (end < exact_.size() && exact_[end - 1] == u'\r' && exact_[end] == u'\n') ++end;
  const QString piece = display(TextView(exact_).substr(shown_, end - shown_), &breaks_);
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(piece);
  displayLength_ += static_cast<int>(piece.size());
  shown_ = end;
  if (shown_ == exact_.size()) finishShowing();
}

void ExactTextEdit::finishShowing() {
  if (!showing_.isActive()) return;
  showing_.stop();
  while (shown_ < exact_.size()) showPiece();
  setReadOnly(false);
  document()->setUndoRedoEnabled(true);
  releaseFreedMemory();
}

void ExactTextEdit::appendExactText(TextView suffix) {
  if (suffix.empty()) return;
  finishShowing();
  if (exact_.ends_with(u'\r') && suffix.front() == u'\n') {
    // The old last CR and the new LF become one line break: the view changes before the end.
    return resetExactText(exact_ + Text(suffix));
  }
  // Appending lays out only what is new.
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  replaceExact(exact_.size(), exact_.size(), suffix, end);
}

void ExactTextEdit::replaceExact(std::size_t from, std::size_t to, TextView text, QTextCursor& cursor) {
  finishShowing();
  Guard guard(ours_);
  const int position = cursor.selectionStart();
  const int shown = cursor.selectionEnd() - position;
  const int firstBreak = breaksBefore(position);
  int removedBreaks = 0;
  for (std::size_t i = from; i < to;) {
    const std::size_t end = breakEnd(exact_, i);
    removedBreaks += end != i;
    i = end == i ? i + 1 : end;
  }
  std::vector<std::uint8_t> added;
  const QString addedShown = display(text, &added);
  exact_.replace(from, to - from, text);
  breaks_.erase(breaks_.begin() + firstBreak, breaks_.begin() + firstBreak + removedBreaks);
  breaks_.insert(breaks_.begin() + firstBreak, added.begin(), added.end());

  cursor.insertText(addedShown);
  displayLength_ += static_cast<int>(addedShown.size()) - shown;
  if (joinsLineBreaks(from, from + text.size())) reshow();
  emit exactTextChanged();
}

int ExactTextEdit::breaksBefore(int displayPosition) const {
  return document()->findBlock(displayPosition).blockNumber();
}

std::size_t ExactTextEdit::exactPosition(int displayPosition) const {
  const int before = breaksBefore(displayPosition);
  const auto longBreaks = std::accumulate(breaks_.begin(), breaks_.begin() + before, std::size_t{0},
                                          [](std::size_t sum, std::uint8_t len) { return sum + (len - 1); });
  return static_cast<std::size_t>(displayPosition) + longBreaks;
}

std::size_t ExactTextEdit::exactAfter(std::size_t from, int displayUnits, int* breaks) const {
  std::size_t i = from;
  for (int n = 0; n < displayUnits && i < exact_.size(); ++n) {
    const std::size_t end = breakEnd(exact_, i);
    if (end != i && breaks) ++*breaks;
    i = end == i ? i + 1 : end;
  }
  return i;
}

void ExactTextEdit::onContentsChange(int position, int removed, int added) {
  if (ours_) return;
  // The document may report a wider change than was made; only the lengths are sure.
  const int newLength = document()->characterCount() - 1;
  added = std::clamp(added, 0, newLength - position);
  removed = displayLength_ - (newLength - added);
  if (removed < 0 || position > displayLength_) return;

  QTextCursor cursor(document());
  cursor.setPosition(position);
  cursor.setPosition(position + added, QTextCursor::KeepAnchor);
  QString typed = cursor.selectedText();

  const int firstBreak = breaksBefore(position);
  const std::size_t from = exactPosition(position);
  const std::size_t to = exactAfter(from, removed, nullptr);

  // Keep the exact characters the reported change did not really touch.
  const QString old = display(TextView(exact_).substr(from, to - from));
  qsizetype head = 0;
  while (head < typed.size() && head < old.size() && typed[head] == old[head]) ++head;
  qsizetype tail = 0;
  while (tail < typed.size() - head && tail < old.size() - head &&
         typed[typed.size() - 1 - tail] == old[old.size() - 1 - tail]) {
    ++tail;
  }
  typed = typed.mid(head, typed.size() - head - tail);
  int keptBreaks = 0;
  const std::size_t start = exactAfter(from, static_cast<int>(head), &keptBreaks);
  int removedBreaks = 0;
  const std::size_t end = exactAfter(start, static_cast<int>(old.size() - head - tail), &removedBreaks);

  // What the user typed: a new paragraph is the text box's line break, CR LF.
  Text inserted;
  std::vector<std::uint8_t> newBreaks;
  for (QChar c : typed) {
    if (c.unicode() == kParagraph) {
      inserted += u"\r\n";
      newBreaks.push_back(2);
    } else {
      inserted.push_back(c.unicode());
    }
  }
  exact_.replace(start, end - start, inserted);
  const auto at = breaks_.begin() + firstBreak + keptBreaks;
  breaks_.erase(at, at + removedBreaks);
  breaks_.insert(breaks_.begin() + firstBreak + keptBreaks, newBreaks.begin(), newBreaks.end());
  displayLength_ = newLength;
  if (joinsLineBreaks(start, start + inserted.size())) reshow();
  emit exactTextChanged();
}

bool ExactTextEdit::joinsLineBreaks(std::size_t from, std::size_t to) const {
  const auto joinedAt = [&](std::size_t i) { return i > 0 && i < exact_.size() && exact_[i - 1] == u'\r' && exact_[i] == u'\n'; };
  return joinedAt(from) || joinedAt(to);
}

void ExactTextEdit::reshow() {
  // A CR and an LF that an edit brought together are one line break now, no longer two.
  const int position = textCursor().position();
  {
    Guard guard(ours_);
    breaks_.clear();
    const QString shown = display(exact_, &breaks_);
    displayLength_ = static_cast<int>(shown.size());
    setPlainText(shown);
  }
  QTextCursor cursor = textCursor();
  cursor.setPosition(std::min(position, displayLength_));
  setTextCursor(cursor);
}

void ExactTextEdit::insertFromMimeData(const QMimeData* source) {
  if (!source || !source->hasText()) return;
  // Pasted text goes in as the clipboard gave it.
  QTextCursor cursor = textCursor();
  const std::size_t from = exactPosition(cursor.selectionStart());
  const std::size_t to = exactPosition(cursor.selectionEnd());
  replaceExact(from, to, fromQString(source->text()), cursor);
  setTextCursor(cursor);
  ensureCursorVisible();
}

QMimeData* ExactTextEdit::createMimeDataFromSelection() const {
  const QTextCursor cursor = textCursor();
  const std::size_t from = exactPosition(cursor.selectionStart());
  const std::size_t to = exactPosition(cursor.selectionEnd());
  auto* data = new QMimeData;
  data->setText(toQString(TextView(exact_).substr(from, to - from)));
  return data;
}

}  // namespace pw
