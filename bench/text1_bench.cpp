// The text box with a large collected text: appending a capture and typing one key, each until
// the change is saved, against a bare write() of the same bytes. Keystroke sizes are in millions
// of characters; KeystrokeDurable waits until the saved text is on the disk too.
// Run: build/bench/bench_text1 --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <QTextCursor>
#include <fcntl.h>
#include <unistd.h>

#include "app/qt/exacttextedit.h"
#include "bench/pagetext.h"
#include "app/qt/form1.h"
#include "platform/posix/filesettingsstore.h"
#include "tests/doubles/dispatchdouble.h"
#include "tests/doubles/doubles.h"
#include "tests/doubles/tempdir.h"
#include "tests/support/findcontrol.h"

namespace {

struct Window {
  explicit Window(std::size_t units) : store(dir.path()), initial(pw::bench::pageText(units)) {
    services = std::make_unique<pw::Services>(pw::Services{desk.automation, desk.stacking, desk.clipboard, desk.events,
                                                           store, desk.messages, desk.saveDialog, *desk.files, desk.app, desk.random});
    form = std::make_unique<pw::Form1>(*services, std::make_unique<pw::test::RecordingDispatch>(),
                                       std::make_unique<pw::test::RecordingDispatch>());
    form->setText1(initial);
    form->show();
    settle();
  }
  // A large text is shown piece by piece from the event loop; wait until all of it is.
  void settle() {
    while (pw::test::control<pw::ExactTextEdit>(*form, "Text1")->isReadOnly()) QApplication::processEvents();
    QApplication::processEvents();
  }
  pw::test::TempDir dir{"bench"};
  pw::test::FakeDesktop desk;
  pw::posix::FileSettingsStore store;
  std::unique_ptr<pw::Services> services;
  std::unique_ptr<pw::Form1> form;
  pw::Text initial;
};

void AppendCapture(benchmark::State& state) {
  Window w(static_cast<std::size_t>(state.range(0)) * 1024 * 1024);
  const pw::Text capture = u"\r" + pw::bench::pageText(100 * 1024);
  for (auto _ : state) {
    state.PauseTiming();
    w.form->setText1(w.initial);
    w.settle();
    state.ResumeTiming();
    w.form->appendText1(capture);  // what a capture into the box does
    QApplication::processEvents();                // and its display
  }
}

template <bool Durable>
void Keystroke(benchmark::State& state) {
  Window w(static_cast<std::size_t>(state.range(0)) * 1000000);
  auto* box = pw::test::control<pw::ExactTextEdit>(*w.form, "Text1");
  box->setFocus();
  QTextCursor cursor = box->textCursor();
  cursor.setPosition(box->document()->characterCount() / 2);
  box->setTextCursor(cursor);
  for (auto _ : state) {
    QTest::keyClick(box, Qt::Key_X);  // written before keyClick returns
    QApplication::processEvents();
    if (!Durable) state.PauseTiming();
    w.store.flush();  // on the disk; a keystroke alone is timed without it
    if (!Durable) state.ResumeTiming();
  }
}

template <bool Sync>
void BareWrite(benchmark::State& state) {
  const pw::Text text = pw::bench::pageText(static_cast<std::size_t>(state.range(0)) * 1000000);
  const pw::test::TempDir dir("bench");
  const std::string path = dir / "bare";
  for (auto _ : state) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    benchmark::DoNotOptimize(::write(fd, text.data(), text.size() * 2));
    if (Sync) ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

BENCHMARK(AppendCapture)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(Keystroke, false)->Arg(1)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(Keystroke, true)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BareWrite, false)->Arg(1)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BareWrite, true)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
