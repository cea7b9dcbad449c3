#include "app/settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

#include "platform/runtimeerror.h"

namespace pw {
namespace {

bool equalsIgnoringCase(TextView a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != static_cast<char16_t>(b[i])) return false;
  }
  return true;
}

TextView trimmed(TextView t) {
  while (!t.empty() && (t.front() == u' ' || t.front() == u'\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == u' ' || t.back() == u'\t')) t.remove_suffix(1);
  return t;
}

// A decimal number as the runtime reads one: sign, digits, point, exponent; nothing else.
std::optional<double> parseNumber(TextView t) {
  std::string ascii;
  for (char16_t c : t) {
    if (c > 0x7F) return std::nullopt;
    ascii.push_back(static_cast<char>(c));
  }
  if (ascii.empty() || ascii.find_first_not_of("+-0123456789.eE") != std::string::npos) return std::nullopt;
  // from_chars reads the point as a point whatever the user's locale; strtod would not.
  if (ascii[0] == '+' && (ascii.size() == 1 || ascii[1] == '-' || ascii[1] == '+')) return std::nullopt;
  const char* begin = ascii.data() + (ascii[0] == '+' ? 1 : 0);
  double value = 0;
  const auto [end, error] = std::from_chars(begin, ascii.data() + ascii.size(), value);
  if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// A value the next click may simply rewrite: one short word, such as "Yes" or "on".
bool isOneShortWord(TextView t) {
  t = trimmed(t);
  return !t.empty() && t.size() <= 16 &&
         std::all_of(t.begin(), t.end(), [](char16_t c) { return c > u' ' && c < 0x7F; });
}

}  // namespace

bool isBooleanText(TextView text) {
  try {
    textToBoolean(text);
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

Text booleanText(bool value) { return value ? u"True" : u"False"; }

bool textToBoolean(TextView text) {
  const TextView t = trimmed(text);
  if (equalsIgnoringCase(t, "true")) return true;
  if (equalsIgnoringCase(t, "false")) return false;
  if (auto n = parseNumber(t)) return *n != 0.0;
  throw RuntimeError(err::TypeMismatch, u"Type mismatch");
}

void SettingsWriter::save(TextView key, TextView value) {
  try {
    s_.settings.save(kSettingsApp, kSettingsSection, key, value);
  } catch (const RuntimeError& e) {
    if (warned_) return;
    warned_ = true;
    s_.messages.show(u"Pagewick could not save your settings:\r\n" + e.description() +
                         u"\r\n\r\nWhat the window shows is kept, and every later change is saved again.",
                     mb::Exclamation, std::nullopt);
  }
}

void SettingsWriter::optionClick(MainWindow& window) {
  for (int n = 1; n <= 3; ++n) save(u"Option" + number(n), booleanText(window.option(n)));
}

void RestoreSettings(Procedure& p, Services& s, MainWindow& window) {
  const auto get = [&](TextView key, TextView fallback) {
    return s.settings.get(kSettingsApp, kSettingsSection, key, fallback);
  };
  // The click that restoring Option1 raises rewrites all three option keys; what is stored under
  // Option2 and Option3 is read before that, so a stored choice of Firefox is not lost, and a
  // value that is more than a mistyped word is moved aside before it can be rewritten.
  std::exception_ptr failure[3];
  Text stored[3], movedTo[3];
  for (int n = 0; n < 3; ++n) {
    try {
      const Text key = u"Option" + number(n + 1);
      stored[n] = get(key, n == 0 ? u"1" : u"0");
      if (!isBooleanText(stored[n]) && !isOneShortWord(stored[n])) {
        movedTo[n] = s.settings.setAside(kSettingsApp, kSettingsSection, key);
      }
    } catch (...) {
      failure[n] = std::current_exception();
    }
  }
  for (int n = 0; n < 3; ++n) {
    p.step(128 + 2 * n, [&] {
      if (failure[n]) std::rethrow_exception(failure[n]);
      try {
        window.setOption(n + 1, textToBoolean(stored[n]));
      } catch (const RuntimeError& e) {
        if (movedTo[n].empty()) throw;
        throw RuntimeError(e.number(), e.description() + u". The stored value was moved to " + quoted(movedTo[n]) + u".");
      }
    });
  }
  p.step(134, [&] { window.setText1(get(u"Text1", u"")); });
  p.step(136, [&] { window.setText2(get(u"Text2", u"")); });
}

}  // namespace pw
