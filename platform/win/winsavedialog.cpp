#include "platform/win/winsavedialog.h"

#include <windows.h>
#include <commdlg.h>

#include "platform/runtimeerror.h"
#include "platform/wintext/wintext.h"

namespace pw::win {
namespace {

// "desc|pattern|desc|pattern|" becomes the dialog's "desc\0pattern\0...\0\0".
std::wstring nativeFilter(TextView filter) {
  std::wstring native = wide(filter);
  if (!native.empty() && native.back() != L'|') native.push_back(L'|');
  for (wchar_t& c : native) {
    if (c == L'|') c = L'\0';
  }
  native.push_back(L'\0');
  return native;
}

// Flags that ask for hooks or templates we do not supply would make the dialog fail.
constexpr DWORD kUnsupported = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE;

}  // namespace

std::optional<Text> WinSaveDialog::show(const SaveDialogRequest& request) {
  std::wstring file = wide(request.fileName);
  file.resize(std::max<std::size_t>(file.size() + 1, 32768), L'\0');
  const std::wstring filter = nativeFilter(request.filter);
  const std::wstring title = wide(request.title);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = reinterpret_cast<HWND>(request.owner);
  dialog.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = request.title.empty() ? nullptr : title.c_str();
  dialog.Flags = static_cast<DWORD>(request.flags) & ~kUnsupported;

  if (GetSaveFileNameW(&dialog)) return fromWide(file.c_str());
  if (const DWORD error = CommDlgExtendedError()) {
    throw RuntimeError(err::InvalidProcedureCall,
                       u"The save dialog could not be shown (common dialog error " + number(error) + u").");
  }
  return std::nullopt;  // cancelled
}

}  // namespace pw::win
