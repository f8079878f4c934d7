#include "desktop/CommonDialog.h"

#include "desktop/MsgBox.h"
#include "platform/TestHook.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QRegularExpression>
#include <QScreen>
#include <QTreeView>

namespace {
std::function<QStringList(const DialogRequest&)>& chooser()
{
    return TestHook<struct ChooserHook, QStringList(const DialogRequest&)>();
}
// Room for a long path and the columns of the file list (name, size, type,
// date) without cutting them: about 900 by 560 pixels at 96 dots per inch,
// less on a small screen.
void fitToScreen(QFileDialog& dialog, const QWidget* owner)
{
    const qreal scale = (owner ? owner->logicalDpiX() : 96) / 96.0;
    QSize size(qRound(900 * scale), qRound(560 * scale));
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    dialog.resize(size);
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        // Wide enough for what the columns hold; the name takes the rest.
        // (Measured from samples: fitting to the contents would read every
        // entry of a large folder first.)
        QHeaderView* header = details->header();
        const QFontMetrics metrics(details->font());
        const QString samples[] = {
            QString(), QLocale().formattedDataSize(qint64(1023) << 20) + QStringLiteral("  "),
            CommonDialog::tr("plain text document") + QStringLiteral("  "),
            QLocale().toString(QDateTime(QDate(2026, 12, 31), QTime(23, 59)),
                               QLocale::ShortFormat) +
                QStringLiteral("  ")};
        header->setStretchLastSection(false);
        for (int column = 1; column < header->count() && column < 4; ++column)
            header->resizeSection(column, metrics.horizontalAdvance(samples[column]) + 16);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

// Whether a save may go to path: a name no file has, or Yes to the question
// every desktop asks before a file is replaced, No being the default.
bool replaceAllowed(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists() && !file.isSymLink())
        return true;
    return MsgBox(CommonDialog::tr("\"%1\" already exists.\nDo you want to replace it?")
                      .arg(file.fileName()),
                  kYesNo | kExclamation | kDefaultButton2) == kAnswerYes;
}

} // namespace

void CommonDialogTesting::SetChooser(std::function<QStringList(const DialogRequest&)> choose)
{
    chooser() = std::move(choose);
}

CommonDialog::CommonDialog(QWidget* owner) : QObject(owner), m_owner(owner) {}

QStringList CommonDialog::NameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        // On Windows "*.*" matches every file; here it would miss names without a dot.
        if (pattern.trimmed() == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
        filters.append(parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return filters;
}

void CommonDialog::ShowOpen()
{
    show(false);
}

void CommonDialog::ShowSave()
{
    show(true);
}

void CommonDialog::show(bool save)
{
    DialogRequest request{save, DialogTitle, NameFilters(Filter), Flags, FileName};
    QStringList chosen;
    if (chooser()) {
        chosen = chooser()(request);
        // A name that is taken is the chooser's to give again, or to give up.
        while (save && !chosen.isEmpty() && !replaceAllowed(chosen.first())) {
            request.fileName = chosen.first();
            chosen = chooser()(request);
        }
    } else {
        QFileDialog dialog(m_owner, DialogTitle);
        // Qt's own dialog on every desktop: it is the one that can take a name
        // that does not exist yet while several files may be picked, and it
        // looks and behaves the same wherever the program runs.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setNameFilters(request.nameFilters);
        // The list shows "All Files (*.*)" as written, while matching every file.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        if (save) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            // The replace question is asked below, for the chooser's names too.
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            const bool several = Flags & kAllowMultiSelect;
            if (Flags & kFileMustExist) {
                dialog.setFileMode(several ? QFileDialog::ExistingFiles
                                           : QFileDialog::ExistingFile);
            } else {
                // Any name is taken, also one of no file yet; Qt's mode for
                // that picks one file, so the lists are opened up to several.
                dialog.setFileMode(QFileDialog::AnyFile);
                if (several)
                    for (QAbstractItemView* view : dialog.findChildren<QAbstractItemView*>(
                             QRegularExpression(QStringLiteral("^(listView|treeView)$"))))
                        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
            }
        }
        fitToScreen(dialog, m_owner);
        // It opens where the last pick was made, else in the home folder.
        dialog.setDirectory(m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder);
        if (!FileName.isEmpty())
            dialog.selectFile(FileName);
        // No to the replace question opens the dialog again on the same name.
        while (dialog.exec() == QDialog::Accepted) {
            chosen = dialog.selectedFiles();
            if (!save || chosen.isEmpty() || replaceAllowed(chosen.first()))
                break;
            dialog.selectFile(chosen.first());
            chosen.clear();
        }
    }
    FileNames.clear();
    for (const QString& name : std::as_const(chosen))
        FileNames.append(QFileInfo(name).absoluteFilePath());
    FileName = FileNames.isEmpty() ? QString() : FileNames.first();
    if (!FileName.isEmpty())
        m_lastFolder = QFileInfo(FileName).absolutePath();
}
