// The program as the end-to-end tests run it: each message box's title and prompt are also
// appended to the file $PAGEWICK_MESSAGE_LOG names, as the box opens, for the tests to read.
#include <cstdlib>
#include <fstream>

#include "app/program.h"

namespace {

class RecordedMessageBoxes final : public pw::MessageBoxes {
 public:
  RecordedMessageBoxes(pw::MessageBoxes& shown, pw::Application& app, const char* log)
      : shown_(shown), app_(app), log_(log) {}
  int show(pw::TextView prompt, int style, std::optional<pw::Text> title) override {
    const pw::Text caption = title ? *title : app_.title();
    std::ofstream(log_, std::ios::app | std::ios::binary) << pw::toUtf8(caption + u'\x1F' + pw::Text(prompt) + u'\x1E');
    return shown_.show(prompt, style, std::move(title));
  }

 private:
  pw::MessageBoxes& shown_;
  pw::Application& app_;
  std::string log_;
};

}  // namespace

int main(int argc, char** argv) {
  pw::DesktopOptions options;
  if (const char* log = std::getenv("PAGEWICK_MESSAGE_LOG")) {
    options.wrapMessages = [log](pw::MessageBoxes& shown, pw::Application& app) {
      return std::make_unique<RecordedMessageBoxes>(shown, app, log);
    };
  }
  return pw::runPagewick(argc, argv, std::move(options));
}
