#pragma once

// What the window tests share: a real Form1 on the offscreen platform, with
// everything that would leave the machine or wait on a person answered here.

#include "desktop/AppInfo.h"
#include "desktop/CommonDialog.h"
#include "desktop/Launcher.h"
#include "desktop/MsgBox.h"
#include "desktop/RandomDraw.h"
#include "desktop/SettingsStore.h"
#include "shell/Form1.h"
#include "tests/TestSupport.h"
#include "widgets/ResultPane.h"
#include "widgets/ResultView.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

// What a save asks before it replaces the file name (its name alone).
inline QString replaceQuestion(const QString& name)
{
    return QStringLiteral("\"%1\" already exists.\nDo you want to replace it?").arg(name);
}

// Every message box shown, in order, answered with yesNoAnswer (6 Yes / 7 No
// for style 4, else 1); the replace question with replaceAnswer, so that a
// save over a file goes ahead unless a test says No.
struct RecordedBoxes
{
    QList<MsgBoxRequest> shown;
    int yesNoAnswer = 7;
    int replaceAnswer = 6;
    std::function<void(const MsgBoxRequest&)> onShow; // runs while the box is "open"

    void install()
    {
        MsgBoxTesting::SetAnswerer([this](const MsgBoxRequest& request) {
            shown.append(request);
            if (onShow)
                onShow(request);
            if (request.prompt.endsWith(replaceQuestion(QString()).mid(2)))
                return replaceAnswer;
            return request.style % 8 == 4 ? yesNoAnswer : 1;
        });
    }
    QStringList prompts() const
    {
        QStringList out;
        for (const auto& box : shown)
            out.append(box.prompt);
        return out;
    }
};

// The addresses the window handed to the desktop, in order.
struct RecordedStarts
{
    QList<QUrl> opened;
    bool succeed = true;
    void install()
    {
        LauncherTesting::SetOpener([this](const QUrl& url) {
            opened.append(url);
            return succeed;
        });
    }
};

// A folder that plays the program's folder, with copies of the shipped files,
// and a settings location of its own, so no test touches the user's settings.
class WindowFixture
{
public:
    WindowFixture()
    {
        QStandardPaths::setTestModeEnabled(true);
        SettingsTesting::SetFolder(m_settings.path());
        QDir().mkpath(m_program.filePath(QStringLiteral("x")));
        QDir().mkpath(m_program.filePath(QStringLiteral("Samples")));
        const QString built = QStringLiteral(QUILLMARK_BINARY_DIR);
        for (const char* name :
             {"HAND-M.CUR", "x/o.cjs", "Samples/sample1.txt", "Samples/sample2.txt"})
            QFile::copy(built + QLatin1Char('/') + QLatin1String(name),
                        m_program.filePath(QLatin1String(name)));
        SetAppPath(m_program.path());
        boxes.install();
        launches.install();
        RandomTesting::SetDraw([] { return 0.5; }); // draws 51: no home page
        CommonDialogTesting::SetChooser([this](const DialogRequest& request) {
            dialogs.append(request);
            return dialogAnswer;
        });
    }
    ~WindowFixture()
    {
        MsgBoxTesting::SetAnswerer({});
        LauncherTesting::SetOpener({});
        RandomTesting::SetDraw({});
        CommonDialogTesting::SetChooser({});
        SetAppPath(QString());
        SettingsTesting::SetFolder(QString());
    }

    // A new window; loaded runs Form_Load first, as main() does.
    std::unique_ptr<Form1> window(bool loaded = true)
    {
        auto form = std::make_unique<Form1>();
        if (loaded)
            form->Form_Load();
        return form;
    }

    QString programPath() const { return m_program.path(); }
    QString programFile(const QString& name) const { return m_program.filePath(name); }
    QString settingsFile() const
    {
        return m_settings.filePath(QStringLiteral("Harrowmere/Quillmark.ini"));
    }
    // Writes a file in a scratch folder of the fixture and returns its path.
    QString file(const QString& name, const QByteArray& bytes)
    {
        return writeFile(m_scratch, name, bytes);
    }
    QString scratchPath() const { return m_scratch.path(); }

    RecordedBoxes boxes;
    RecordedStarts launches;
    QList<DialogRequest> dialogs;
    QStringList dialogAnswer; // what the dialog "picks"; empty for Cancel

private:
    QTemporaryDir m_settings, m_program, m_scratch;
};

inline QStringList itemsOf(const ResultList& list)
{
    QStringList out;
    for (int i = 1; i <= list.Count(); ++i)
        out.append(list.ItemText(i));
    return out;
}

// Compares two files with these bytes in the window, as Start Comparing does.
inline void compareFiles(WindowFixture& fixture, Form1& form, const QByteArray& bytes1,
                         const QByteArray& bytes2)
{
    form.Text1->setText(fixture.file(QStringLiteral("one.txt"), bytes1));
    form.Text2->setText(fixture.file(QStringLiteral("two.txt"), bytes2));
    form.PushButton1->click();
}

// An entry of a list's context menu, by its object name.
inline QAction* menuEntry(const ResultView* view, const char* name)
{
    return view->findChild<QAction*>(QLatin1String(name));
}

// Compares two small CSV files on their first field, which shows the list of
// changed lines.
inline void compareOnKey(WindowFixture& fixture, Form1& form)
{
    form.Text1->setText(fixture.file(QStringLiteral("key1.csv"), "1,a\n2,b\n3,c\n"));
    form.Text2->setText(fixture.file(QStringLiteral("key2.csv"), "1,a\n2,B2\n4,d\n"));
    form.Spin1->setText(QStringLiteral("1"));
    form.PushButton1->click();
}

// Ends the test program with a message when what it guards has not returned
// within the time: a call that hangs fails rather than stopping the run.
class Watchdog
{
public:
    explicit Watchdog(QString what, std::chrono::seconds limit = std::chrono::seconds(5))
        : m_what(std::move(what)), m_thread([this, limit] {
              std::unique_lock lock(m_mutex);
              if (!m_woken.wait_for(lock, limit, [this] { return m_done; })) {
                  std::fprintf(stderr, "Watchdog: %s did not return in %lld s\n",
                               qPrintable(m_what), static_cast<long long>(limit.count()));
                  std::abort();
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_woken.notify_one();
        m_thread.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    QString m_what;
    std::mutex m_mutex;
    std::condition_variable m_woken;
    bool m_done = false;
    std::thread m_thread;
};
