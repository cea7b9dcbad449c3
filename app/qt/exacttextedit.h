#pragma once
// The collecting text box. Qt's editors rewrite line breaks and some characters when asked for
// their text, so the box keeps the exact text itself and uses the editor as a view of it: every
// line break of the exact text (CR LF, CR, LF, U+2029) is one paragraph break on screen, and an
// edit on screen changes only the exact characters it covers.
#include <QPlainTextEdit>
#include <QTimer>
#include <vector>

#include "platform/text.h"

namespace pw {

class ExactTextEdit final : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit ExactTextEdit(QWidget* parent = nullptr);

  const Text& exactText() const { return exact_; }
  // A text that extends the current one is appended to the view; any other replaces it.
  void setExactText(TextView text);
  // The same as setExactText(exactText() + suffix), without the copy.
  void appendExactText(TextView suffix);

  // How exact text is shown: each line break becomes one U+2029.
  static QString display(TextView exact, std::vector<std::uint8_t>* breaks = nullptr);

 signals:
  // After every change of the exact text, whatever made it.
  void exactTextChanged();

 protected:
  void insertFromMimeData(const QMimeData* source) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  void onContentsChange(int position, int removed, int added);
  // Whether exact_[from, to), just replaced, now touches a CR LF pair at either end.
  bool joinsLineBreaks(std::size_t from, std::size_t to) const;
  void reshow();
  // Shows `text` anew, laying the whole view out again.
  void resetExactText(TextView text);
  // Shows the next piece of a text that is being shown; finishShowing() shows all that is left.
  void showPiece();
  void finishShowing();
  // Replaces exact_[from, to) with `text`, and the cursor's selection, which shows that range,
  // with its display: one edit of ours.
  void replaceExact(std::size_t from, std::size_t to, TextView text, QTextCursor& cursor);
  std::size_t exactPosition(int displayPosition) const;
  std::size_t exactAfter(std::size_t from, int displayUnits, int* breaks) const;
  int breaksBefore(int displayPosition) const;

  Text exact_;
  std::vector<std::uint8_t> breaks_;  // exact length (1 or 2) of each paragraph break, in order
  int displayLength_ = 0;
  bool ours_ = false;  // the document is being changed by this class, not by the user
  std::size_t shown_ = 0;  // how much of exact_ the view shows
  QTimer showing_;
  static constexpr std::size_t kPieceLength = 256 * 1024;
};

}  // namespace pw
