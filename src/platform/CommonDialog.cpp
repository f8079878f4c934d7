#include "CommonDialog.h"

#include "TestHook.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {
std::function<QStringList(const DialogRequest&)>& chooser()
{
    return TestHook<struct ChooserHook, QStringList(const DialogRequest&)>();
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
    const DialogRequest request{save, DialogTitle, NameFilters(Filter), Flags, FileName};
    QStringList chosen;
    if (chooser()) {
        chosen = chooser()(request);
    } else {
        QFileDialog dialog(m_owner, DialogTitle);
        dialog.setNameFilters(request.nameFilters);
        // The list shows "All Files (*.*)" as written, while matching every file.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        if (save) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode((Flags & kAllowMultiSelect) ? QFileDialog::ExistingFiles
                                                           : QFileDialog::ExistingFile);
        }
        // It opens where the last pick was made, else in the home folder.
        dialog.setDirectory(m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder);
        if (!FileName.isEmpty())
            dialog.selectFile(FileName);
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.selectedFiles();
    }
    FileName = chosen.isEmpty() ? QString() : QFileInfo(chosen.first()).absoluteFilePath();
    if (!FileName.isEmpty())
        m_lastFolder = QFileInfo(FileName).absolutePath();
}
