// Times the window on a big pair of files: from the click on "Start
// Comparing" to three painted lists, scrolling a list of a million rows,
// finding a text in it, and saving and copying a big list. Runs offscreen;
// prints one "name: value" line per figure.

#include "AppInfo.h"
#include "CommonDialog.h"
#include "FindBar.h"
#include "Form1.h"
#include "MsgBox.h"
#include "ResultView.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
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

    QElapsedTimer timer;
    timer.start();
    form.PushButton1->click();
    form.repaint();
    settle();
    std::printf("click-to-lists-s: %.3f\n", timer.nsecsElapsed() / 1e9);
    std::printf("rows: %d %d %d\n", form.ListView1->list().Count(), form.ListView2->list().Count(),
                form.ListView3->list().Count());

    // Scroll the biggest list to random places, one painted frame each.
    ResultView* biggest = form.ListView1;
    for (ResultView* view : {form.ListView2, form.ListView3})
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
        auto* find = form.findChild<FindBar*>(biggest == form.ListView1   ? "FindBar1"
                                              : biggest == form.ListView2 ? "FindBar2"
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
    QPushButton* save = biggest == form.ListView1   ? form.PushButton2
                        : biggest == form.ListView2 ? form.PushButton5
                                                    : form.PushButton6;
    timer.restart();
    save->click();
    std::printf("save-s: %.3f (%lld bytes)\n", timer.nsecsElapsed() / 1e9, QFile(saved).size());

    // Copy every line of it, checked.
    biggest->list().SetAllChecked(true);
    QPushButton* copy = biggest == form.ListView1   ? form.PushButton8
                        : biggest == form.ListView2 ? form.PushButton9
                                                    : form.PushButton10;
    timer.restart();
    copy->click();
    std::printf("copy-s: %.3f (%lld characters)\n", timer.nsecsElapsed() / 1e9,
                qint64(QGuiApplication::clipboard()->text().size()));
    std::printf("peak-memory-mb: %.0f\n", peakKilobytes() / 1024.0);
    return 0;
}
