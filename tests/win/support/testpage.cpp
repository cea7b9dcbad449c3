#include "tests/win/support/testpage.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/wintext/wintext.h"

namespace pw::test {
namespace {

std::wstring besideUs(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return (std::filesystem::path(self).parent_path() / name).wstring();
}

std::wstring uniqueName(const wchar_t* prefix) {
  static std::atomic<int> counter{0};
  return std::wstring(prefix) + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
}

// Starts test_page.exe with `args` and waits until it signals that it is ready.
PROCESS_INFORMATION startPage(std::wstring args) {
  const std::wstring readyName = uniqueName(L"PagewickTestReady-");
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
  std::wstring command = L"\"" + besideUs(L"test_page.exe") + L"\" " + args + L" --ready " + readyName;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    CloseHandle(ready);
    throw std::runtime_error("test_page.exe did not start");
  }
  HANDLE both[] = {ready, process.hProcess};
  const DWORD woke = WaitForMultipleObjects(2, both, FALSE, 30000);
  CloseHandle(ready);
  if (woke != WAIT_OBJECT_0) throw std::runtime_error("test_page.exe did not get ready");
  return process;
}

void stop(PROCESS_INFORMATION& process, HWND window) {
  if (!process.hProcess) return;
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  process = {};
}

HWND topLevelWindowOf(DWORD processId) {
  struct Search {
    DWORD process;
    HWND found;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t name[64];
        GetClassNameW(window, name, 64);
        if (owner != s->process || std::wstring(name) != L"PagewickTestPage") return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

TestPage::TestPage(TextView title, TextView text, PageOptions options) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  textFile_ = std::wstring(folder) + uniqueName(L"pagewick-page-") + L".txt";
  std::ofstream(std::filesystem::path(textFile_), std::ios::binary).write(reinterpret_cast<const char*>(text.data()),
                                                   static_cast<std::streamsize>(text.size() * 2));
  std::wstring args = L"--title \"" + win::wide(title) + L"\" --text \"" + textFile_ + L"\"";
  if (options.minimized) args += L" --minimized";
  if (options.hidden) args += L" --hidden";
  if (options.tool) args += L" --tool";
  process_ = startPage(args);
  window_ = topLevelWindowOf(process_.dwProcessId);
  if (!window_) throw std::runtime_error("test_page.exe shows no window");
}

TestPage::~TestPage() {
  stop(process_, window_);
  DeleteFileW(textFile_.c_str());
}

ClipboardHolder::ClipboardHolder(int ms) : process_(startPage(L"--hold-clipboard " + std::to_wstring(ms))) {}

ClipboardHolder::~ClipboardHolder() { stop(process_, nullptr); }

bool waitFor(int ms, const std::function<bool()>& done) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(ms);
  while (!done()) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(10);
  }
  return true;
}

std::vector<HWND> ourDialogs(TextView title) {
  struct Search {
    std::wstring title;
    std::vector<HWND> found;
  } search{win::wide(title), {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t name[64], text[256];
        GetClassNameW(window, name, 64);
        GetWindowTextW(window, text, 256);
        if (owner == GetCurrentProcessId() && IsWindowVisible(window) && std::wstring(name) == L"#32770" &&
            s->title == text) {
          s->found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TempFolder::TempFolder() {
  const auto folder = std::filesystem::temp_directory_path() / uniqueName(L"pagewick-test-");
  std::filesystem::create_directories(folder);
  path_ = win::fromWide(folder.wstring().c_str());
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(win::wide(path_), ignored);
}

}  // namespace pw::test
