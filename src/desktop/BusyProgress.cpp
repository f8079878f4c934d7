#include "desktop/BusyProgress.h"

#include "desktop/AppInfo.h"

#include <QApplication>
#include <QDropEvent>
#include <QEventLoop>
#include <QProgressBar>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <limits>

namespace {

// Drops the input meant for one window while a command works in it. The
// window's own close request is the window's business; paints, moves and
// everything sent to other windows (the progress dialog, a message box) pass.
class InputBlocker;
// Every blocker alive, innermost last.
QList<const InputBlocker*> g_blockers;

class InputBlocker : public QObject
{
public:
    explicit InputBlocker(QWidget* window) : m_window(window)
    {
        qApp->installEventFilter(this);
        g_blockers.append(this);
    }
    ~InputBlocker() override { g_blockers.removeOne(this); }
    bool blocks(const QWidget* window) const { return m_window && m_window == window; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!isInput(event->type()) || !watched->isWidgetType() || !m_window)
            return false;
        if (static_cast<QWidget*>(watched)->window() != m_window)
            return false;
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            // Refused, so the desktop shows that nothing can be dropped here now.
            static_cast<QDropEvent*>(event)->setDropAction(Qt::IgnoreAction);
            event->ignore();
            break;
        default:
            event->accept();
            break;
        }
        return true;
    }

private:
    static bool isInput(QEvent::Type type)
    {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
        case QEvent::NativeGesture:
            return true;
        default:
            return false;
        }
    }

    QPointer<QWidget> m_window;
};

// The bar works in ints; big totals are scaled down to fit.
int barValue(qint64 value, qint64 total)
{
    constexpr qint64 kMax = std::numeric_limits<int>::max();
    return total <= kMax ? int(value) : int(value / (total / kMax + 1));
}

} // namespace

bool BusyProgress::BlocksInput(const QWidget* window)
{
    return window && std::any_of(g_blockers.cbegin(), g_blockers.cend(),
                                 [window](const InputBlocker* b) { return b->blocks(window); });
}

BusyProgress::BusyProgress(QWidget* window, bool blockInput) : m_window(window)
{
    if (blockInput && window)
        m_blocker = std::make_unique<InputBlocker>(window);
    m_clock.start();
}

BusyProgress::~BusyProgress()
{
    delete m_dialog.data();
}

void BusyProgress::Update(const QString& label, qint64 done, qint64 total)
{
    if (!m_dialog) {
        if (m_cancelled || !m_window || m_clock.elapsed() < kDelayMs)
            return;
        m_dialog = new QProgressDialog(m_window);
        m_dialog->setObjectName(QStringLiteral("BusyProgress"));
        m_dialog->setWindowTitle(AppTitle());
        // Not modal: the toolkit drops the desktop's request to close a
        // window that a modal one blocks, and closing the window must end the
        // program even now. The window takes no input while the dialog shows,
        // as a modal dialog would have it.
        if (!m_blocker)
            m_blocker = std::make_unique<InputBlocker>(m_window);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->setMinimumWidth(m_window->width() * 3 / 4);
        // Cancel, Escape and closing the dialog itself all stop the work;
        // closing the window is the window's own business.
        QObject::connect(m_dialog, &QProgressDialog::canceled, m_dialog,
                         [this] { m_cancelled = true; });
        QObject::connect(m_dialog, &QDialog::rejected, m_dialog, [this] { m_cancelled = true; });
    }
    auto* bar = m_dialog->findChild<QProgressBar*>();
    if (m_dialog->labelText() != label) {
        m_dialog->setLabelText(label);
        // A screen reader names the bar by what is being done.
        if (bar)
            bar->setAccessibleName(label);
    }
    const int maximum = barValue(total, total);
    if (m_dialog->maximum() != maximum)
        m_dialog->setRange(0, maximum);
    // While the amount is unknown the bar just shows activity: its range is
    // 0 to 0, and its value 0 rather than the -1 of a bar never set.
    if (total <= 0 && bar && bar->value() != 0)
        bar->setValue(0);
    if (!m_dialog->isVisible() && !m_cancelled)
        m_dialog->show();
    // setValue lets a modal dialog process events: only when the bar moves,
    // and a few times a second, as each move is heard.
    const int value = barValue(qBound<qint64>(0, done, total), total);
    if (total > 0 && m_dialog->value() != value &&
        (value == maximum || !m_barMoved.isValid() || m_barMoved.elapsed() >= kBarStepMs)) {
        m_dialog->setValue(value);
        m_barMoved.start();
    }
}

bool BusyProgress::WaitFor(const std::function<bool()>& done, const std::function<void()>& tick)
{
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(15);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || m_cancelled)
            loop.quit();
        else
            tick();
    });
    if (done())
        return true;
    tick();
    poll.start();
    // The application quitting ends the loop too; the work is then abandoned.
    loop.exec();
    return done() && !m_cancelled;
}
