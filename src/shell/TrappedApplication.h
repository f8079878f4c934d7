#pragma once

#include <QApplication>

// The window program's application object. An exception that leaves an event
// handler outside every command's trap (an allocation that fails while a list
// is laid out or painted) is reported in the "Application Error" box, and the
// program goes on, instead of ending it.
class TrappedApplication : public QApplication
{
public:
    TrappedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
