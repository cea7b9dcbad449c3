#include "app/controls/skincontrol.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/controls/members.h"
#include "platform/runtimeerror.h"

namespace pw::controls {
namespace {

constexpr char16_t kName[] = u"The skin control";

std::filesystem::path fsPath(const Text& path) {
  if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
    return std::filesystem::path(std::wstring(path.begin(), path.end()));
  } else {
    return std::filesystem::path(toUtf8(path));
  }
}

std::string trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1));
}

std::optional<std::uint32_t> colour(std::string value) {
  for (auto& c : value) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  if (value == "white") return 0xFFFFFF;
  if (value == "black") return 0x000000;
  if (value.size() == 4 && value[0] == '#') value = {'#', value[1], value[1], value[2], value[2], value[3], value[3]};
  if (value.size() != 7 || value[0] != '#' || value.find_first_not_of("0123456789abcdef", 1) != std::string::npos) {
    return std::nullopt;
  }
  const auto rgb = static_cast<std::uint32_t>(std::stoul(value.substr(1), nullptr, 16));
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);  // to 0x00BBGGRR
}

}  // namespace

Variant SkinControl::invoke(int id, Invoke kind, const std::vector<Variant>& args) {
  using namespace members::skin;
  const auto argument = [&](std::size_t i) -> const Variant& {
    if (args.size() <= i) wrongArgumentCount(u"the skin control");
    return args[i];
  };
  switch (id) {
    case LoadSkin:
      if (kind != Invoke::Method) noSuchMember(kName, id);
      load(toText(argument(0)));
      return {};
    case ApplyOptions:
      if (kind == Invoke::PropertyGet) return options_;
      if (kind != Invoke::PropertyPut) noSuchMember(kName, id);
      options_ = toInt32(argument(0));
      return {};
    case SkinDialogs:
    case UseFusionStyle: {
      bool& flag = id == SkinDialogs ? dialogs_ : fusion_;
      if (kind == Invoke::PropertyGet) return flag;
      if (kind != Invoke::PropertyPut) noSuchMember(kName, id);
      flag = toBool(argument(0));
      return {};
    }
    case ApplyWindow:
      if (kind != Invoke::Method) noSuchMember(kName, id);
      apply(toInt32(argument(0)));
      return {};
    default: noSuchMember(kName, id);
  }
}

void SkinControl::load(const Text& path) {
  std::ifstream file(fsPath(path), std::ios::binary);
  if (!file) {
    Text reason = fromUtf8(std::strerror(errno));
    throw RuntimeError(err::PathFileAccess, u"The skin \"" + path + u"\" cannot be read: " + reason + u".");
  }
  sheet_.assign(std::istreambuf_iterator<char>(file), {});
  loaded_ = true;
}

void SkinControl::apply(std::int32_t handle) {
  if (!loaded_) throw RuntimeError(err::InvalidProcedureCall, u"No skin is loaded.");
  const auto window = static_cast<WindowHandle>(static_cast<std::uint32_t>(handle));
  if (!dress(window, {sheet_, (options_ & members::skin::DrawSkin) != 0, dialogs_, fusion_})) {
    throw RuntimeError(err::InvalidProcedureCall, u"The skin cannot find the window " + number(handle) + u".");
  }
}

std::vector<SkinRule> skinColours(const std::string& sheet) {
  std::vector<SkinRule> rules;
  for (std::size_t at = 0;;) {
    const auto open = sheet.find('{', at);
    if (open == std::string::npos) break;
    const auto close = sheet.find('}', open);
    SkinRule rule;
    std::string_view selectors(sheet.data() + at, open - at);
    for (std::size_t from = 0; from <= selectors.size();) {
      const auto comma = std::min(selectors.find(',', from), selectors.size());
      if (auto s = trim(selectors.substr(from, comma - from)); !s.empty()) rule.selectors.push_back(s);
      from = comma + 1;
    }
    const std::string_view body(sheet.data() + open + 1, (close == std::string::npos ? sheet.size() : close) - open - 1);
    for (std::size_t from = 0; from < body.size();) {
      const auto semicolon = std::min(body.find(';', from), body.size());
      const std::string_view declaration = body.substr(from, semicolon - from);
      from = semicolon + 1;
      const auto colon = declaration.find(':');
      if (colon == std::string_view::npos) continue;
      const std::string property = trim(declaration.substr(0, colon));
      const auto value = colour(trim(declaration.substr(colon + 1)));
      if (property == "background-color" || property == "background") rule.background = value;
      else if (property == "color") rule.text = value;
    }
    if (rule.background || rule.text) rules.push_back(std::move(rule));
    if (close == std::string::npos) break;
    at = close + 1;
  }
  return rules;
}

}  // namespace pw::controls
