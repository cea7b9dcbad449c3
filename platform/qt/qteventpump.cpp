#include "platform/qt/qteventpump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace pw::qt {

void QtEventPump::doEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventPump::processEventsFor(double seconds) {
  const int ms = static_cast<int>(std::ceil(seconds * 1000.0));
  if (ms <= 0) return doEvents();
  // A nested loop sleeps in the event dispatcher until an event or the timer arrives.
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  timer.start(ms);
  loop.exec();
}

}  // namespace pw::qt
