#include "app/win/text1box.h"

#include "platform/wintext/wintext.h"

namespace pw::winui {

Text1Box::Text1Box(HWND edit, std::function<void()> changed) : edit_(edit), changed_(std::move(changed)) {
  SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);  // as much as memory holds
}

void Text1Box::setText(TextView text) {
  if (text.size() >= exact_.size() && text.starts_with(exact_)) return append(text.substr(exact_.size()));
  exact_ = text;
  ours_ = true;
  SetWindowTextW(edit_, L"");
  ours_ = false;
  shown_ = 0;
  showMore();
  changed_();
}

void Text1Box::append(TextView suffix) {
  if (suffix.empty()) return;
  // Only a short text goes in at once; a long one, such as the saved text at start-up, in pieces.
  const bool atOnce = !showing() && suffix.size() <= kPieceLength;
  exact_ += suffix;
  if (atOnce) {
    insertAtEnd(suffix);
    shown_ = exact_.size();
  } else {
    showMore();
  }
  changed_();
}

void Text1Box::insertAtEnd(TextView text) {
  // EM_REPLACESEL reads up to a NUL; a NUL in the text shows as U+FFFD and stays exact here.
  std::wstring piece = win::wide(text);
  for (auto& c : piece) c = c ? c : L'\xFFFD';
  ours_ = true;
  const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit_));
  SendMessageW(edit_, EM_SETSEL, end, static_cast<LPARAM>(end));
  SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
  ours_ = false;
}

// A piece now; the rest from the timer, so that the window opens and answers meanwhile.
void Text1Box::showMore() {
  if (!showing()) return;
  const std::size_t n = std::min(kPieceLength, exact_.size() - shown_);
  insertAtEnd(TextView(exact_).substr(shown_, n));
  shown_ += n;
  SendMessageW(edit_, EM_SETREADONLY, showing(), 0);
  if (showing()) SetTimer(GetParent(edit_), kTimer, 0, nullptr);
  else KillTimer(GetParent(edit_), kTimer);
}

void Text1Box::onTimer() { showMore(); }

void Text1Box::onEditChanged() {
  if (ours_ || showing()) return;
  // The user typed, pasted or cut: the control holds every unit exactly.
  const int length = GetWindowTextLengthW(edit_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(edit_, text.data(), length + 1)));
  exact_ = win::fromWide(text.c_str(), text.size());
  shown_ = exact_.size();
  changed_();
}

}  // namespace pw::winui
