#include "platform/qt/qteventpump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

namespace pw::qt {

void QtEventPump::doEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventPump::processEventsFor(double seconds) {
  // The timer counts whole milliseconds, and a timer rounded up would end each pause up to one
  // late: the loop runs for the whole ones, and the rest of a millisecond is slept.
  const int ms = static_cast<int>(seconds * 1000.0);
  if (ms <= 0) {
    doEvents();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    return;
  }
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
