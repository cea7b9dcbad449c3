// One write-through of the text box: our store against QSettings' INI format, which the store
// replaced, and against the bare file calls with and without waiting for the disk. Sizes are in
// millions of characters. Run: build/bench/bench_settings --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QSettings>
#include <QString>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "bench/pagetext.h"
#include "platform/posix/filesettingsstore.h"
#include "tests/doubles/tempdir.h"

namespace {

// What the caller's thread pays: the bytes written, the disk waited for on the store's thread.
// With `Durable`, until the new value is on the disk and has replaced the old one there.
template <bool Durable>
void StoreSave(benchmark::State& state) {
  const pw::test::TempDir dir("bench");
  const std::string& folder = dir.path();
  pw::posix::FileSettingsStore store(folder);
  const pw::Text value = pw::bench::pageText(static_cast<std::size_t>(state.range(0)) * 1000000);
  for (auto _ : state) {
    store.save(u"Kelvarin", u"Pagewick", u"Text1", value);
    if (!Durable) state.PauseTiming();
    store.flush();  // each save alone, not superseded by the next
    if (!Durable) state.ResumeTiming();
  }
}

// The bare calls: write() of the same bytes, then with `Sync` fsync, rename and fsync of the folder.
template <bool Sync>
void BareReplace(benchmark::State& state) {
  const pw::test::TempDir dir("bench");
  const std::string& folder = dir.path();
  const pw::Text value = pw::bench::pageText(static_cast<std::size_t>(state.range(0)) * 1000000);
  const std::string path = folder + "/Text1", temp = path + ".new";
  for (auto _ : state) {
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    benchmark::DoNotOptimize(::write(fd, value.data(), value.size() * 2));
    if (Sync) ::fsync(fd);
    ::close(fd);
    ::rename(temp.c_str(), path.c_str());
    if (Sync) {
      const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
      ::fsync(dir);
      ::close(dir);
    }
  }
}

void QSettingsIniSave(benchmark::State& state) {
  const pw::test::TempDir dir("bench");
  const std::string& folder = dir.path();
  QSettings settings(QString::fromStdString(folder + "/Pagewick.ini"), QSettings::IniFormat);
  const pw::Text text = pw::bench::pageText(static_cast<std::size_t>(state.range(0)) * 1000000);
  const QString value = QString::fromStdU16String(text);
  for (auto _ : state) {
    // A real change each time, as a keystroke makes, so that sync() has to write.
    settings.setValue(QStringLiteral("Pagewick/Text1"), value + QString::number(state.iterations()));
    settings.sync();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size() * 2));
}

}  // namespace

BENCHMARK_TEMPLATE(StoreSave, false)->Arg(1)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(StoreSave, true)->Arg(1)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BareReplace, false)->Arg(1)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BareReplace, true)->Arg(1)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(QSettingsIniSave)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
