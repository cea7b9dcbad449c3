#include "platform/win/registrysettingsstore.h"

#include <windows.h>

#include <vector>

#include "platform/win/winerror.h"
#include "platform/wintext/wintext.h"

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
  void reset() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }
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

// RegQueryValueExW into `data`, growing it while the value grows in between.
LSTATUS queryValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data) {
  LSTATUS status;
  DWORD size = 0;
  do {
    status = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) break;
    data.resize(size);
    status = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
  } while (status == ERROR_MORE_DATA);
  data.resize(size);
  return status;
}

std::wstring asideName(TextView key) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t stamp[32];
  wsprintfW(stamp, L".unreadable-%04u-%02u-%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
            now.wMinute, now.wSecond);
  return wide(key) + stamp;
}

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
  status = queryValue(handle.get(), name, type, data);
  if (status == ERROR_FILE_NOT_FOUND) return Text(fallback);
  if (status != ERROR_SUCCESS) throwWinError(static_cast<DWORD>(status), what);
  if (type != REG_SZ && type != REG_EXPAND_SZ) {
    handle.reset();
    Text aside;
    try {
      aside = setAside(app, section, key);  // the next save would replace it
    } catch (const RuntimeError&) {
      kept_.insert(keyPath(app, section) + u"\\" + Text(key));
      throw;
    }
    throw RuntimeError(err::TypeMismatch, u"The setting " + quoted(key) + u" is not text in the registry. It was moved to " +
                                              quoted(aside) + u", and the next change is saved in its place.");
  }
  const DWORD size = static_cast<DWORD>(data.size());

  // Every unit comes back, NULs inside included; only the terminating NUL goes.
  Text value(reinterpret_cast<const char16_t*>(data.data()), size / sizeof(char16_t));
  if (!value.empty() && value.back() == u'\0') value.pop_back();
  return value;
}

void RegistrySettingsStore::save(TextView app, TextView section, TextView key, TextView value) {
  checkName(key, u"key");
  const std::wstring path = wide(keyPath(app, section));
  const Text what = u"save the setting " + quoted(key);
  if (kept_.count(keyPath(app, section) + u"\\" + Text(key))) {
    throw RuntimeError(err::PathFileAccess, u"Could not " + what + u": its stored value could not be read or moved aside, and is kept as it is.");
  }
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

Text RegistrySettingsStore::setAside(TextView app, TextView section, TextView key) {
  checkName(key, u"key");
  const std::wstring path = wide(keyPath(app, section));
  const std::wstring name = wide(key);
  const Text what = u"move the setting " + quoted(key) + u" aside";
  Key handle;
  LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, handle.out());
  if (status == ERROR_FILE_NOT_FOUND) return {};
  if (status != ERROR_SUCCESS) throwWinError(static_cast<DWORD>(status), what);
  std::vector<BYTE> data;
  DWORD type = 0;
  status = queryValue(handle.get(), name, type, data);
  if (status == ERROR_FILE_NOT_FOUND) return {};
  const std::wstring aside = asideName(key);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(handle.get(), aside.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
  }
  if (status == ERROR_SUCCESS) status = RegDeleteValueW(handle.get(), name.c_str());
  if (status != ERROR_SUCCESS) throwWinError(static_cast<DWORD>(status), what);
  return fromWide(aside.c_str());
}

}  // namespace pw::win
