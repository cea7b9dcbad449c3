// The file dialog's filter text: every pattern of the input reaches the Qt filter, and the
// conversion never fails.
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

#include "platform/qt/dialogfilter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString filter = QString::fromUtf16(reinterpret_cast<const char16_t*>(data), static_cast<qsizetype>(size / 2));
  const QString converted = pw::qt::dialogFilterToQt(filter);
  const QStringList parts = filter.split(QLatin1Char('|'));
  for (qsizetype i = 1; i < parts.size(); i += 2) {
    for (const QString& pattern : parts[i].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      if (!pattern.trimmed().isEmpty() && !converted.contains(pattern.trimmed())) __builtin_trap();
    }
  }
  return 0;
}
