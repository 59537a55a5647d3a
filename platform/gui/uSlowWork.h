#pragma once
// Work that can take long (loading a large city, drawing it smoothed), done
// while a window waits. It runs on a thread of its own so that the window
// can show a modal progress dialog, but only once the work has taken half a
// second: quick work never flashes a dialog. Until the work is done the
// user's input waits (it is delivered afterwards); timers, repaints and
// message boxes go on.

#include <QString>
#include <functional>

class QWidget;

namespace varnik {

// Runs `work` on a worker thread and returns when it is done, showing
// `label` in a progress dialog over `parent` (may be nullptr) from half a
// second on. The messages the work shows or asks go, one at a time and in
// order, to the sink in force when RunWithProgress was called, on the
// calling thread: message boxes live there. The work must not touch
// widgets, and the caller must keep others off what the work changes until
// it returns.
void RunWithProgress(QWidget* parent, const QString& label, const std::function<void()>& work);

}  // namespace varnik
