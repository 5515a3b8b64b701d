#pragma once
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <functional>

// Processes events until `fait` holds; false when it never does. The bound is a
// safety on a broken test, not a delay: the wait ends as soon as `fait` holds.
inline bool Attend(const std::function<bool()> &fait, int maxMs = 30000) {
  const QDeadlineTimer fin(maxMs);
  QTimer reveil;  // wakes the wait when nothing else comes
  reveil.start(20);
  while (!fait()) {
    if (fin.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}
