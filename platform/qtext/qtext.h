#pragma once
// Text to and from QString, unit for unit: for the Qt backend and the Qt window alike.
#include <QString>

#include "platform/text.h"

namespace pw {

inline QString toQString(TextView t) {
  return QString(reinterpret_cast<const QChar*>(t.data()), static_cast<qsizetype>(t.size()));
}
inline Text fromQString(const QString& s) { return s.toStdU16String(); }

}  // namespace pw
