#include "platform/qt/dialogfilter.h"

#include <QStringList>

namespace pw::qt {

QString dialogFilterToQt(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    // Qt separates patterns with blanks; the filter text separates them with ';'.
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) p = p.trimmed();
    patterns.removeAll(QString());
    if (patterns.isEmpty()) continue;
    const QString shown = QLatin1Char('(') + patterns.join(QLatin1Char(';')) + QLatin1Char(')');
    if (description.endsWith(shown)) description.chop(shown.size());
    description = description.trimmed();
    // Parentheses in the description would be read as patterns.
    description.replace(QLatin1Char('('), QLatin1Char('[')).replace(QLatin1Char(')'), QLatin1Char(']'));
    entries << (description.isEmpty() ? QString() : description + QLatin1Char(' ')) + QLatin1Char('(') +
                   patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return entries.join(QStringLiteral(";;"));
}

}  // namespace pw::qt
