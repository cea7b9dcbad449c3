#include "platform/win/registrysettingsstore.h"

#include <windows.h>

#include <vector>

#include "platform/win/winerror.h"
#include "platform/win/winstring.h"

namespace pw::win {
namespace {

void checkName(TextView name, TextView what) {
  if (name.empty() || name.find(u'\0') != TextView::npos) {
    throw RuntimeError(err::InvalidProcedureCall, u"The setting's " + Text(what) + u" " + quoted(name) + u" is not valid.");
  }
}

class Key {
 public:
  Key() = default;
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

Text RegistrySettingsStore::keyPath(TextView app, TextView section) const {
  checkName(app, u"application");
  checkName(section, u"section");
  return root_ + u"\\" + Text(app) + u"\\" + Text(section);
}

Text RegistrySettingsStore::get(TextView app, TextView section, TextView key, TextView fallback) {
  checkName(key, u"key");
  const std::wstring path = wide(keyPath(app, section));
  const std::wstring name = wide(key);
  const Text what = u"read the setting " + quoted(key);

  Key handle;
  LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, handle.out());
  if (status == ERROR_FILE_NOT_FOUND) return Text(fallback);
  if (status != ERROR_SUCCESS) throwWinError(static_cast<DWORD>(status), what);

  std::vector<BYTE> data;
  DWORD type = 0;
  DWORD size = 0;
  do {
    status = RegQueryValueExW(handle.get(), name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) break;
    data.resize(size);
    status = RegQueryValueExW(handle.get(), name.c_str(), nullptr, &type, data.data(), &size);
  } while (status == ERROR_MORE_DATA);  // it grew in between
  if (status == ERROR_FILE_NOT_FOUND) return Text(fallback);
  if (status != ERROR_SUCCESS) throwWinError(static_cast<DWORD>(status), what);
  if (type != REG_SZ && type != REG_EXPAND_SZ) {
    throw RuntimeError(err::TypeMismatch, u"The setting " + quoted(key) + u" is not text in the registry.");
  }

  // Every unit comes back, NULs inside included; only the terminating NUL goes.
  Text value(reinterpret_cast<const char16_t*>(data.data()), size / sizeof(char16_t));
  if (!value.empty() && value.back() == u'\0') value.pop_back();
  return value;
}

void RegistrySettingsStore::save(TextView app, TextView section, TextView key, TextView value) {
  checkName(key, u"key");
  const std::wstring path = wide(keyPath(app, section));
  const Text what = u"save the setting " + quoted(key);
  const std::size_t bytes = (value.size() + 1) * sizeof(char16_t);
  if (bytes > MAXDWORD) throw RuntimeError(err::OutOfMemory, u"The setting " + quoted(key) + u" is too long to save.");

  Key handle;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                   handle.out(), nullptr);
  if (status != ERROR_SUCCESS) throwWinError(static_cast<DWORD>(status), what);
  const std::wstring data = wide(value);  // with its terminating NUL
  status = RegSetValueExW(handle.get(), wide(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(bytes));
  if (status != ERROR_SUCCESS) throwWinError(static_cast<DWORD>(status), what);
}

}  // namespace pw::win
