// One write-through of the text box: our store against QSettings' INI format, which the store
// replaced. Run: build/bench/bench_settings --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QSettings>
#include <QString>
#include <cstdlib>
#include <filesystem>

#include "platform/posix/filesettingsstore.h"

namespace {

std::string tempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pagewick-bench-XXXXXX").string();
  return mkdtemp(pattern.data());
}

// Page text as captures bring it: mostly Latin with some Cyrillic and line breaks.
pw::Text pageText(std::size_t megabytes) {
  const pw::Text line = u"Pagewick collects page text — Съешь же ещё этих мягких булок.\r\n";
  pw::Text text;
  while (text.size() < megabytes * 1024 * 1024) text += line;
  text.resize(megabytes * 1024 * 1024);
  return text;
}

void StoreSave(benchmark::State& state) {
  const std::string folder = tempFolder();
  pw::posix::FileSettingsStore store(folder);
  const pw::Text value = pageText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) store.save(u"Kelvarin", u"Pagewick", u"Text1", value);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(value.size() * 2));
  std::filesystem::remove_all(folder);
}

void QSettingsIniSave(benchmark::State& state) {
  const std::string folder = tempFolder();
  QSettings settings(QString::fromStdString(folder + "/Pagewick.ini"), QSettings::IniFormat);
  const pw::Text text = pageText(static_cast<std::size_t>(state.range(0)));
  const QString value = QString::fromStdU16String(text);
  for (auto _ : state) {
    // A real change each time, as a keystroke makes, so that sync() has to write.
    settings.setValue(QStringLiteral("Pagewick/Text1"), value + QString::number(state.iterations()));
    settings.sync();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size() * 2));
  std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(StoreSave)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(QSettingsIniSave)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
