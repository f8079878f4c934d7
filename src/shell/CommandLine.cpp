#include "shell/CommandLine.h"

#include "desktop/AppInfo.h"
#include "desktop/SettingsStore.h"
#include "shell/Form1.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QUrl>

namespace {

// A name as a file manager or a shell hands it over: a file: URL becomes its
// path, and a relative path is made absolute, since the field is remembered
// for runs started elsewhere.
QString pathOf(const QString& argument)
{
    QString path = argument;
    if (argument.startsWith(QLatin1String("file:"))) {
        const QUrl url(argument);
        if (url.isLocalFile())
            path = url.toLocalFile();
    }
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine result;
    bool optionsEnd = false;
    for (const QString& argument : arguments) {
        if (!optionsEnd && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            if (argument == QLatin1String("--")) {
                optionsEnd = true;
                continue;
            }
            if (argument == QLatin1String("-h") || argument == QLatin1String("--help") ||
                argument == QLatin1String("--help-all")) {
                result.action = CommandLine::Action::Help;
                result.qtOptions = argument == QLatin1String("--help-all");
            } else if (argument == QLatin1String("-v") || argument == QLatin1String("--version"))
                result.action = CommandLine::Action::Version;
            else
                result.error =
                    QCoreApplication::translate("CommandLine", "unknown option '%1'").arg(argument);
            if (result.action != CommandLine::Action::Open)
                return result; // help and version answer whatever else is there
            continue;
        }
        if (result.files.size() < 2)
            result.files.append(argument.isEmpty() ? QString() : pathOf(argument));
        else
            ++result.ignoredFiles;
    }
    if (!result.error.isEmpty())
        result.action = CommandLine::Action::Error;
    return result;
}

QString CommandLineHelp(bool qtOptions)
{
    const QString qt = QCoreApplication::translate(
        "CommandLine", "\n"
                       "Qt's own options, read before the window opens:\n"
                       "  -platform NAME     the window system: xcb, wayland or offscreen\n"
                       "  -display DISPLAY   the X display to open the window on\n"
                       "  -style NAME        the look of the controls, such as Fusion\n"
                       "  -reverse           lay the window out from right to left\n");
    return QCoreApplication::translate(
               "CommandLine",
               "Usage: quillmark [FILE1 [FILE2]]\n"
               "Compares two text files line by line in a window: the lines in both, the lines\n"
               "only in FILE1 and the lines only in FILE2.\n"
               "\n"
               "  FILE1, FILE2   fill the fields \"Text File #1\" and \"Text File #2\"; a field\n"
               "                 not given keeps the path remembered from the last run\n"
               "  -h, --help     show this help and exit\n"
               "  --help-all     show it with Qt's own options (-platform, -style) and exit\n"
               "  -v, --version  show the version and exit\n"
               "\n"
               "Remembered paths: %1\n"
               "Program files:    %2\n"
               "quillmark-compare makes the same three lists for scripts.\n")
               .arg(QDir::toNativeSeparators(SettingsLocation(QStringLiteral("Harrowmere"))),
                    QDir::toNativeSeparators(AppPath())) +
           (qtOptions ? qt : QString());
}

void OpenGivenFiles(Form1& form, const QStringList& files)
{
    if (files.size() > 0)
        form.Text1->setText(files[0]);
    if (files.size() > 1)
        form.Text2->setText(files[1]);
}
