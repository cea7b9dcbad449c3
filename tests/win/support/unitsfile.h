#pragma once
// Text to and from files as raw UTF-16 units, so that nothing between the tests outside Wine and
// the helpers inside it (a console code page, the Unix locale) changes a unit.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace pw::test {

inline std::wstring readUnits(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

inline void writeUnits(const std::wstring& path, const wchar_t* units, std::size_t count) {
  std::ofstream(std::filesystem::path(path), std::ios::binary)
      .write(reinterpret_cast<const char*>(units), static_cast<std::streamsize>(count * sizeof(wchar_t)));
}

}  // namespace pw::test
