#include "shell/TrappedApplication.h"

#include "shell/ErrorTrap.h"

TrappedApplication::TrappedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TrappedApplication::notify(QObject* receiver, QEvent* event)
{
    // While the box is open, the failing event (a paint) may come again; it
    // is reported once, not in a box over each box.
    static bool reporting = false;
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (!reporting) {
            reporting = true;
            ErrorTrap::ReportUntrapped();
            reporting = false;
        }
        return false;
    }
}
