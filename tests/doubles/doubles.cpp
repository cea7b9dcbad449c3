#include "tests/doubles/doubles.h"

#include <cmath>

#if defined(_WIN32)
#include "platform/win/winfiles.h"
using SystemFiles = pw::win::WinFiles;
#else
#include "platform/posix/posixfiles.h"
using SystemFiles = pw::posix::PosixFiles;
#endif

namespace pw::test {

std::string narrow(TextView text) { return toUtf8(text); }

void RecordingAutomation::activate(TextView title) {
  log_.push_back("activate " + narrow(title));
  if (missingWindows.count(Text(title))) {
    throw RuntimeError(err::WindowNotFound, u"No window \"" + Text(title) + u"\"");
  }
}

void RecordingAutomation::sendKeys(TextView keys) {
  log_.push_back("keys " + narrow(keys));
  if (failingKeys.count(Text(keys))) throw RuntimeError(err::InvalidProcedureCall, u"keys refused");
  if (onKeys) onKeys(keys);
}

void RecordingStacking::makeTopmost(WindowHandle window) { log_.push_back("topmost " + std::to_string(window)); }

void FakeClipboard::attempt(const char* what, std::optional<int> format) {
  ++attempts;
  formats.push_back(format);
  if (refusals > 0) {
    --refusals;
    throw RuntimeError(err::ClipboardBusy, u"Can't open Clipboard");
  }
  log_.push_back(what);
}

void FakeClipboard::clear() {
  attempt("clipboard clear", std::nullopt);
  content.reset();
}

void FakeClipboard::setText(TextView text, std::optional<int> format) {
  attempt("clipboard set", format);
  content = Text(text);
}

Text FakeClipboard::text(std::optional<int> format) {
  attempt("clipboard get", format);
  return content.value_or(Text());
}

void FakeEventPump::runBatch(double advance) {
  ++batches;
  now += advance;
  if (now >= 86400.0) now -= 86400.0;
  if (everyBatch) everyBatch();
  auto queued = std::move(pending);
  pending.clear();
  for (auto& event : queued) event();
}

void FakeEventPump::doEvents() { runBatch(tick); }

// Like a timer of whole milliseconds: a wait always moves the clock by at least 1 ms.
void FakeEventPump::processEventsFor(double seconds) { runBatch(std::ceil(std::max(seconds, 0.0) * 1000.0) / 1000.0); }

Text MemorySettingsStore::get(TextView app, TextView section, TextView key, TextView fallback) {
  if (app != u"Kelvarin" || section != u"Pagewick") return Text(fallback);
  auto it = values.find(Text(key));
  return it == values.end() ? Text(fallback) : it->second;
}

void MemorySettingsStore::save(TextView app, TextView section, TextView key, TextView value) {
  if (failSaves) throw RuntimeError(err::DiskFull, u"disk full");
  if (app == u"Kelvarin" && section == u"Pagewick") values[Text(key)] = Text(value);
  ++saves;
}

Text MemorySettingsStore::setAside(TextView, TextView, TextView key) {
  auto it = values.find(Text(key));
  if (it == values.end()) return {};
  const Text aside = Text(key) + u".unreadable";
  values[aside] = std::move(it->second);
  values.erase(Text(key));
  return aside;
}

int RecordingMessageBoxes::show(TextView prompt, int style, std::optional<Text> title) {
  log_.push_back("box " + std::to_string(style));
  shown.push_back({Text(prompt), style, std::move(title)});
  if (answers.empty()) return style == mb::YesNo ? mb::AnswerNo : mb::AnswerOk;
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

void FakeApplication::openAddress(TextView address) {
  if (failOpen) throw RuntimeError(err::FileNotFound, u"no browser");
  opened.emplace_back(address);
}

std::vector<int> RecordingMessageBoxes::reportedLines() const {
  std::vector<int> lines;
  for (const auto& box : shown) {
    const auto at = box.prompt.find(u"at line ");
    if (at != Text::npos) lines.push_back(std::stoi(toUtf8(box.prompt.substr(at + 8, 3))));
  }
  return lines;
}

Picture FakeApplication::loadPicture(TextView path) {
  if (!failPictures && path.ends_with(u".CUR")) return Picture{32, 32, 5, 1, std::vector<std::uint32_t>(32 * 32)};
  throw RuntimeError(err::InvalidPicture, u"Invalid picture");
}

bool FakeCaptureWindow::option(int number) {
  if (failingOptions.count(number)) throw RuntimeError(err::TypeMismatch, u"option unreadable");
  return options[number - 1];
}

Text FakeCaptureWindow::text2() {
  if (failText2) throw RuntimeError(err::TypeMismatch, u"path unreadable");
  return text2_;
}

FakeDesktop::FakeDesktop() : files(std::make_unique<SystemFiles>()) {}

void FakeDesktop::browserCopies(Text page) {
  automation.onKeys = [this, page](TextView keys) {
    if (keys == u"^c") clipboard.content = page;
  };
}

}  // namespace pw::test
