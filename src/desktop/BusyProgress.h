#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QObject;
class QProgressDialog;
class QWidget;

// What a long command shows while it works. The window keeps repainting;
// after half a second a progress dialog over it (titled with the application
// title) says what is being done and how far it is, with Cancel. With
// blockInput, the window itself takes no input for as long as this lives:
// clicks, keys, the wheel, shortcuts, context menus and drops are dropped, so
// no second command can start; the dialog still answers. Without it, the
// window takes no input from when the dialog shows. The dialog is not modal,
// so a request to close the window still reaches the window.
class BusyProgress
{
public:
    BusyProgress(QWidget* window, bool blockInput);
    ~BusyProgress();
    BusyProgress(const BusyProgress&) = delete;
    BusyProgress& operator=(const BusyProgress&) = delete;

    // What the dialog says: the label, and done out of total (0 while the
    // amount is unknown: the bar then just shows activity). The dialog comes
    // up with the first update after the delay.
    void Update(const QString& label, qint64 done = 0, qint64 total = 0);

    // Cancel was pressed, the dialog closed, or Cancel() called.
    bool Cancelled() const { return m_cancelled; }
    void Cancel() { m_cancelled = true; }

    // Processes the window's events until done() holds or the work is
    // cancelled, running tick about every 15 ms. True when done.
    bool WaitFor(const std::function<bool()>& done, const std::function<void()>& tick);

    // Whether a BusyProgress with blockInput takes the input of this window
    // now. What reaches a control past its events (a screen reader's action)
    // asks here first.
    static bool BlocksInput(const QWidget* window);

    // How long work goes on before the dialog shows.
    static constexpr qint64 kDelayMs = 500;
    // The bar moves at most once in this time (each move is a value a screen
    // reader hears), but for the last step, which always shows.
    static constexpr qint64 kBarStepMs = 250;

private:
    QPointer<QWidget> m_window;
    QPointer<QProgressDialog> m_dialog;
    std::unique_ptr<QObject> m_blocker;
    QElapsedTimer m_clock;
    QElapsedTimer m_barMoved;
    bool m_cancelled = false;
};
