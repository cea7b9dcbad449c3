#include "e2e/support/wine.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace pw::e2e {
namespace {

const std::string kWine = PAGEWICK_WINE;
const std::string kBuild = PAGEWICK_WIN_BUILD;

// The test machine's font setup, not the program's: without Windows fonts Wine draws Arial,
// Tahoma and MS Shell Dlg with Liberation Sans, whose mark positioning crashes Wine's text
// shaping on some Cyrillic runs in a multi-line edit box. Nimbus Sans has the same widths.
// A crash must end the run, not wait behind Wine's crash dialog. The program's occasional visit
// to its home page must not start a real browser.
const char kMachineSetup[] =
    "REGEDIT4\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"
    "\"Arial\"=\"Nimbus Sans\"\r\n\"Tahoma\"=\"Nimbus Sans\"\r\n\"MS Shell Dlg\"=\"Nimbus Sans\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n\"ShowCrashDialog\"=dword:00000000\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]\r\n\"Browsers\"=\"true\"\r\n";

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

WinePrefix::WinePrefix(XSession& session, const std::string& locale)
    : session_(session), folder_(session.folder() + "/wine"), locale_(locale) {
  std::filesystem::create_directories(folder_);
  setenv("WINEPREFIX", (folder_ + "/prefix").c_str(), 1);
  setenv("WINEDEBUG", "-all", 0);  // a WINEDEBUG of the caller's wins, for a look inside
  setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);  // no offers to install Mono or Gecko
  // Debian 13's Wine 10 aborts at start whenever TMPDIR is set at all; it then keeps its leftovers
  // in /tmp instead of the session's folder.
  if (session_.run(wine({"wineboot", "--init"})) != 0) {
    withoutTmpdir_ = true;
    if (session_.run(wine({"wineboot", "--init"})) != 0) {
      throw std::runtime_error("wineboot failed; see " + session.folder() + "/helpers.log");
    }
  }
  const std::string setup = session_.writeFile("machine.reg", kMachineSetup);
  if (session_.run(wine({"regedit", "/S", windowsPath(setup)})) != 0) {
    throw std::runtime_error("the Wine prefix could not be set up");
  }
}

WinePrefix::~WinePrefix() { endWine(); }

std::vector<std::string> WinePrefix::wine(const std::vector<std::string>& args) const {
  std::vector<std::string> argv{"env", "LC_ALL=" + locale_, kWine};
  if (withoutTmpdir_) argv.insert(argv.begin() + 1, {"-u", "TMPDIR"});
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

void WinePrefix::endWine() const {
  session_.run({PAGEWICK_WINESERVER, "-k"});
  session_.run({PAGEWICK_WINESERVER, "-w"});
}

std::string WinePrefix::windowsPath(const std::string& path) {
  std::string windows = "Z:" + path;
  for (char& c : windows) c = c == '/' ? '\\' : c;
  return windows;
}

Launch WinePrefix::pagewick() const {
  const std::string log = folder_ + "/messages.log";
  return {wine({kBuild + "/app/win/pagewick_e2e.exe"}),
          {{"PAGEWICK_MESSAGE_LOG", windowsPath(log)}},
          log,
          [this](const std::string& key) { return setting(key).value_or(u"<absent>"); }};
}

void WinePrefix::openPage(const Text& title, const Text& text, PageOptions options) {
  std::vector<std::string> argv = wine({kBuild + "/tests/win/test_page.exe", "--title-file",
                                       windowsPath(writeUnits("title-" + std::to_string(++pages_), title)), "--text",
                                       windowsPath(writeUnits("page-" + std::to_string(pages_), text))});
  if (options.minimized) argv.push_back("--minimized");
  if (!options.copies) argv.push_back("--no-copy");
  session_.start(argv, {}, "test_page.log");
  if (!session_.waitForWindow([&](const WindowCandidate& w) { return w.title == title; })) {
    throw std::runtime_error("the stand-in browser showed no window: " + session_.describe());
  }
}

unsigned WinePrefix::codePage() {
  if (codePage_) return codePage_;
  const std::string out = folder_ + "/code-page";
  const int status = probe({"code-page", windowsPath(out)});
  if (status != 0) throw std::runtime_error("the code page could not be read: status " + std::to_string(status));
  return codePage_ = static_cast<unsigned>(std::stoul(toUtf8(*readUnits(status, out))));
}

std::optional<Text> WinePrefix::clipboard() {
  const std::string out = folder_ + "/clipboard";
  return readUnits(probe({"clipboard", windowsPath(out)}), out);
}

void WinePrefix::offerClipboard(const Text& text) {
  if (probe({"offer", windowsPath(writeUnits("offer", text))}) != 0) throw std::runtime_error("could not offer text");
}

std::optional<Text> WinePrefix::setting(const std::string& key) const {
  const std::string out = folder_ + "/setting";
  return readUnits(probe({"get", key, windowsPath(out)}), out);
}

void WinePrefix::saveSetting(const std::string& key, const Text& value) {
  if (probe({"set", key, windowsPath(writeUnits("value", value))}) != 0) throw std::runtime_error("could not save " + key);
}

void WinePrefix::saveNumber(const std::string& key) {
  if (probe({"set", key, windowsPath(writeUnits("value", u"")), "dword"}) != 0) throw std::runtime_error("could not save " + key);
}

void WinePrefix::forgetSettings() {
  if (probe({"forget"}) != 0) throw std::runtime_error("could not remove the settings");
}

bool WinePrefix::topmost(const Text& title) { return probe({"topmost", windowsPath(writeUnits("title", title))}) == 0; }

bool WinePrefix::ownedByPagewick(const Text& title) {
  return probe({"owned", windowsPath(writeUnits("title", title))}) == 0;
}

// Wine reads the DPI once, when its server starts: every Wine program is ended for it. Wine is
// started again at once, in a session of its own: its desktop process stays in the process group
// of the program that started it, and the end of the next Pagewick, whose whole group is stopped,
// would take the desktop along while the next Wine program meets it.
void WinePrefix::setDpi(int dpi) {
  if (session_.run(wine({"reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                         std::to_string(dpi), "/f"})) != 0) {
    throw std::runtime_error("could not set the DPI");
  }
  endWine();
  std::vector<std::string> boot = wine({"wineboot"});
  boot.insert(boot.begin(), {"setsid", "--wait"});
  if (session_.run(boot) != 0) throw std::runtime_error("Wine did not start again");
}

ShownLayout WinePrefix::layout() {
  const std::string out = folder_ + "/layout";
  if (probe({"layout", windowsPath(out)}) != 0) throw std::runtime_error("Pagewick's window is not there");
  std::istringstream in(readFile(out));
  ShownLayout shown;
  in >> shown.width >> shown.height >> shown.dpi;
  for (ShownControl c{}; in >> c.id >> c.left >> c.top >> c.width >> c.height >> c.captionWidth;) shown.controls.push_back(c);
  return shown;
}

std::string WinePrefix::manifest() {
  const std::string out = folder_ + "/manifest";
  if (probe({"manifest", windowsPath(kBuild + "/app/win/pagewick.exe"), windowsPath(out)}) != 0) return {};
  return readFile(out);
}

int WinePrefix::probe(const std::vector<std::string>& args) const {
  std::vector<std::string> argv = wine({kBuild + "/tests/win/wine_probe.exe"});
  argv.insert(argv.end(), args.begin(), args.end());
  return session_.run(argv);
}

std::string WinePrefix::writeUnits(const std::string& name, const Text& text) const {
  const std::string path = folder_ + "/" + name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * sizeof(char16_t)));
  return path;
}

std::optional<Text> WinePrefix::readUnits(int status, const std::string& file) const {
  if (status != 0) return std::nullopt;
  const std::string bytes = readFile(file);
  return Text(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / sizeof(char16_t));
}

}  // namespace pw::e2e
