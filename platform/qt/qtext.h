#pragma once
#include <QString>

#include "platform/text.h"

namespace pw::qt {

inline QString qstr(TextView t) {
  return QString(reinterpret_cast<const QChar*>(t.data()), static_cast<qsizetype>(t.size()));
}
inline Text text(const QString& s) { return s.toStdU16String(); }

}  // namespace pw::qt
