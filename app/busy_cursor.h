#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace ordinalette::app {

// Shows the busy cursor over the program's windows while it lives, for work that takes no
// input; the cursor before it comes back when it goes, also when an error ends the work.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace ordinalette::app
