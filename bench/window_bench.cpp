// Times the window on a big pair of files: from the click on "Start
// Comparing" to three painted lists with the longest time the window went
// without a repaint meanwhile, how soon Cancel gives the window back,
// scrolling a list of a million rows, finding a text in it, and saving and
// copying a big list. Runs offscreen; prints one "name: value" line per figure.

#include "desktop/AppInfo.h"
#include "desktop/CommonDialog.h"
#include "desktop/MsgBox.h"
#include "shell/Form1.h"
#include "widgets/FindBar.h"
#include "widgets/NearMissDialog.h"
#include "widgets/ResultPane.h"
#include "widgets/ResultView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// The times at which a window was painted. A timer asks for a repaint every
// 50 ms, as an animation or a window dragged across it would.
class PaintClock : public QObject
{
public:
    explicit PaintClock(QWidget* window) : m_window(window)
    {
        window->installEventFilter(this);
        m_ask.setInterval(50);
        connect(&m_ask, &QTimer::timeout, window, [window] { window->update(); });
    }
    void start()
    {
        m_times.clear();
        m_clock.start();
        m_times.append(0);
        m_ask.start();
    }
    // The longest time without a paint, from start() until now, and when it
    // ended.
    QString longestGap()
    {
        m_ask.stop();
        m_times.append(m_clock.nsecsElapsed());
        qint64 longest = 0, end = 0;
        for (qsizetype i = 1; i < m_times.size(); ++i) {
            if (m_times[i] - m_times[i - 1] > longest) {
                longest = m_times[i] - m_times[i - 1];
                end = m_times[i];
            }
        }
        return QStringLiteral("%1 (ending %2 s after the click, of %3 s)")
            .arg(longest / 1e6, 0, 'f', 1)
            .arg(end / 1e9, 0, 'f', 2)
            .arg(m_times.last() / 1e9, 0, 'f', 2);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && m_ask.isActive())
            m_times.append(m_clock.nsecsElapsed());
        return false;
    }

private:
    QWidget* m_window;
    QTimer m_ask;
    QElapsedTimer m_clock;
    QList<qint64> m_times;
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: quillmark-window-bench FILE1 FILE2 [--match-case]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir scratch;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, scratch.path());
    MsgBoxTesting::SetAnswerer([](const MsgBoxRequest& box) {
        std::fprintf(stderr, "message: %s\n", qPrintable(box.prompt));
        return box.style % 8 == 4 ? 7 : 1;
    });

    Form1 form;
    form.Form_Load();
    form.show();
    settle();
    form.Text1->setText(QString::fromLocal8Bit(argv[1]));
    form.Text2->setText(QString::fromLocal8Bit(argv[2]));
    if (argc > 3 && QByteArray(argv[3]) == "--match-case")
        form.Check7->setChecked(true);

    QElapsedTimer timer, clicked;
    PaintClock paints(&form);
    paints.start();
    timer.start();
    clicked.start();
    form.PushButton1->click();
    const QString longestGap = paints.longestGap();
    QElapsedTimer painting;
    painting.start();
    form.repaint();
    settle();
    std::printf("click-to-lists-s: %.3f\n", timer.nsecsElapsed() / 1e9);
    // While the comparison runs, and then the first paint of the filled lists.
    std::printf("longest-gap-between-repaints-ms: %s\n", qPrintable(longestGap));
    std::printf("first-paint-of-the-lists-ms: %.1f\n", painting.nsecsElapsed() / 1e6);
    std::printf("peak-memory-first-comparison-mb: %.0f\n", peakKilobytes() / 1024.0);
    std::printf("rows: %d %d %d\n", form.Panes[0]->View->list().Count(),
                form.Panes[1]->View->list().Count(), form.Panes[2]->View->list().Count());

    // "Why is this line not in File #2?" on the first rows of list 2, from the
    // command to the dialog painted: the first row, the longest, and the first
    // row with look-alikes. The look-alikes are found once the lists show: the
    // dialog asked at once says it is still looking, and fills in when they
    // come, this long after the click.
    if (auto* why = form.Panes[1]->View->findChild<QAction*>(QStringLiteral("whyNotIn"))) {
        if (form.Panes[1]->View->list().Count() > 0) {
            form.Panes[1]->View->setCurrentIndex(form.Panes[1]->View->model()->index(0, 0));
            why->trigger();
            auto* dialog = form.findChild<NearMissDialog*>();
            while (dialog && dialog->IsWaiting() && dialog->isVisible())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            std::printf("look-alikes-found-s: %.3f\n", clicked.nsecsElapsed() / 1e9);
        }
        const int rows = std::min(form.Panes[1]->View->list().Count(), 2000);
        double first = -1, longest = 0, alike = -1;
        int alikeRow = 0;
        for (int row = 0; row < rows; ++row) {
            form.Panes[1]->View->setCurrentIndex(form.Panes[1]->View->model()->index(row, 0));
            timer.restart();
            why->trigger();
            auto* dialog = form.findChild<NearMissDialog*>();
            dialog->repaint();
            const double ms = timer.nsecsElapsed() / 1e6;
            first = first < 0 ? ms : first;
            longest = std::max(longest, ms);
            if (alike < 0 && dialog->Text().contains(QLatin1String(" like it"))) {
                alike = ms;
                alikeRow = row + 1;
            }
        }
        std::printf("why-dialog-first-ms: %.2f\n", first);
        std::printf("why-dialog-longest-ms: %.2f (of %d rows)\n", longest, rows);
        std::printf("why-dialog-with-look-alikes-ms: %.2f (row %d)\n", alike, alikeRow);
        if (auto* dialog = form.findChild<NearMissDialog*>())
            dialog->close();
    }

    // Cancel a second comparison of the same pair part of the way through (at
    // the given share of the first one's time, once the progress dialog can
    // be there): how soon the window is back, and how long a following
    // comparison of two small files then waits for the cancelled one to wind
    // down.
    const double firstSeconds = timer.nsecsElapsed() / 1e9;
    for (const double share : {0.1, 0.5}) {
        qint64 cancelledAt = 0;
        QTimer cancelLater;
        cancelLater.setSingleShot(true);
        QObject::connect(&cancelLater, &QTimer::timeout, [&] {
            if (auto* dialog = form.findChild<QProgressDialog*>()) {
                if (auto* button = dialog->findChild<QPushButton*>())
                    button->click();
                cancelledAt = timer.nsecsElapsed();
            }
        });
        cancelLater.start(std::max(600, int(firstSeconds * 1000 * share)));
        timer.restart();
        form.PushButton1->click();
        const qint64 back = timer.nsecsElapsed();
        cancelLater.stop();
        std::printf("cancel-at-%.0f%%-window-back-ms: %.1f%s\n", share * 100,
                    cancelledAt ? (back - cancelledAt) / 1e6 : 0.0,
                    cancelledAt ? "" : " (finished before it could be cancelled)");
        const QString small1 = scratch.filePath(QStringLiteral("small1.txt"));
        const QString small2 = scratch.filePath(QStringLiteral("small2.txt"));
        for (const QString& path : {small1, small2}) {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write("x\n");
        }
        const QString big1 = form.Text1->text(), big2 = form.Text2->text();
        form.Text1->setText(small1);
        form.Text2->setText(small2);
        timer.restart();
        form.PushButton1->click();
        std::printf("cancel-at-%.0f%%-wind-down-ms: %.1f\n", share * 100,
                    timer.nsecsElapsed() / 1e6);
        form.Text1->setText(big1);
        form.Text2->setText(big2);
    }
    // The big lists again, for what follows; the small ones go. The first
    // paint lays the new rows out.
    form.PushButton1->click();
    form.repaint();
    settle();
    // And once more: now big lists replace big lists, the old ones freed.
    paints.start();
    timer.restart();
    form.PushButton1->click();
    std::printf("again-click-to-lists-s: %.3f\n", timer.nsecsElapsed() / 1e9);
    std::printf("again-longest-gap-between-repaints-ms: %s\n", qPrintable(paints.longestGap()));

    // Scroll the biggest list to random places, one painted frame each.
    ResultView* biggest = form.Panes[0]->View;
    for (ResultView* view : {form.Panes[1]->View, form.Panes[2]->View})
        if (view->list().Count() > biggest->list().Count())
            biggest = view;
    QList<double> frames;
    QRandomGenerator random(1);
    QScrollBar* bar = biggest->verticalScrollBar();
    for (int i = 0; i < 300; ++i) {
        timer.restart();
        bar->setValue(i % 3 ? bar->value() + bar->singleStep() * 3
                            : int(random.bounded(bar->maximum() + 1)));
        biggest->viewport()->repaint();
        frames.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(frames.begin(), frames.end());
    std::printf("scroll-frame-median-ms: %.2f\n", frames[frames.size() / 2]);
    std::printf("scroll-frame-max-ms: %.2f\n", frames.last());

    // Find a text that no line holds, so the whole list is searched: the time
    // to the count, and the longest the window waited for its events meanwhile.
    {
        auto* find = form.findChild<FindBar*>(biggest == form.Panes[0]->View   ? "FindBar1"
                                              : biggest == form.Panes[1]->View ? "FindBar2"
                                                                               : "FindBar3");
        find->Open();
        double longest = 0;
        QElapsedTimer sinceTick;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
            sinceTick.restart();
        });
        ticker.start(0);
        timer.restart();
        sinceTick.start();
        find->TextField()->setText(QStringLiteral("no line holds this text"));
        while (find->IsSearching())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        std::printf("find-whole-list-s: %.3f\n", timer.nsecsElapsed() / 1e9);
        std::printf("find-longest-wait-ms: %.2f\n", longest);
        find->Close();
    }

    // Save the biggest list through the real command, the dialog answered here.
    const QString saved = scratch.filePath(QStringLiteral("saved.txt"));
    CommonDialogTesting::SetChooser([&saved](const DialogRequest&) { return QStringList{saved}; });
    QPushButton* save = biggest == form.Panes[0]->View   ? form.Panes[0]->Save
                        : biggest == form.Panes[1]->View ? form.Panes[1]->Save
                                                         : form.Panes[2]->Save;
    timer.restart();
    save->click();
    std::printf("save-s: %.3f (%lld bytes)\n", timer.nsecsElapsed() / 1e9, QFile(saved).size());

    // Copy every line of it, checked.
    biggest->list().SetAllChecked(true);
    QPushButton* copy = biggest == form.Panes[0]->View   ? form.Panes[0]->Copy
                        : biggest == form.Panes[1]->View ? form.Panes[1]->Copy
                                                         : form.Panes[2]->Copy;
    timer.restart();
    copy->click();
    std::printf("copy-s: %.3f (%lld characters)\n", timer.nsecsElapsed() / 1e9,
                qint64(QGuiApplication::clipboard()->text().size()));
    std::printf("peak-memory-mb: %.0f\n", peakKilobytes() / 1024.0);
    return 0;
}
