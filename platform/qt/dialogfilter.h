#pragma once
#include <QString>

namespace pw::qt {

// "desc|pattern|desc|pattern|" as a Qt file-dialog filter: one "desc (patterns)" entry per pair,
// ";;" between them. A description that already shows its patterns keeps its text.
QString dialogFilterToQt(const QString& filter);

}  // namespace pw::qt
