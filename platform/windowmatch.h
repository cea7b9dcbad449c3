#pragma once
// Which window a title activates. The same rule on every platform.
#include <optional>
#include <vector>

#include "platform/text.h"
#include "platform/windowautomation.h"

namespace pw {

struct WindowCandidate {
  WindowHandle handle;
  Text title;
};

enum class TitleMatch { NoMatch, Partial, Exact };

// Titles compare without regard to case. A title that starts or ends with `wanted` is a partial
// match; the empty text matches nothing.
TitleMatch matchTitle(TextView title, TextView wanted);

// `candidates` are ordered topmost first. An exact match wins over a partial one; among equals the
// topmost, that is the most recently active, wins. Where no title matches a browser's name, the
// topmost window of the browser that stands in its place today is chosen (see the .cpp).
std::optional<std::size_t> pickWindow(const std::vector<WindowCandidate>& candidates,
                                      TextView wanted);

// What was searched for and the windows that were open instead.
Text windowNotFoundDescription(TextView wanted, const std::vector<WindowCandidate>& open);
// The window `found` matched `wanted` but the desktop left the focus with `focused`.
Text windowNotActivatedDescription(TextView found, TextView wanted, const std::optional<Text>& focused);

}  // namespace pw
