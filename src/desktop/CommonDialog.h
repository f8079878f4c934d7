#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// The open/save dialog the window shares between its commands. Its
// properties keep their values between uses. Filter is "desc|pattern|..."
// text; Flags kAllowMultiSelect lets the open dialog pick several files, of which
// the first one's full path lands in FileName and every one's, in the order
// picked, in FileNames; without kFileMustExist the open dialog takes a name
// that does not exist. Cancel leaves both empty. A save to a name that is
// taken asks first whether to replace the file; No goes back to the dialog.
class CommonDialog : public QObject
{
    Q_OBJECT
public:
    explicit CommonDialog(QWidget* owner);

    QString FileName;
    QStringList FileNames;
    qint32 Flags = 0;
    QString DialogTitle;
    QString Filter;

    void ShowOpen();
    void ShowSave();

    // The "desc|pattern|" filter as Qt name filters ("*.*" matches every file).
    static QStringList NameFilters(const QString& filter);

    // The read-only box of the open dialog starts checked.
    static constexpr qint32 kReadOnly = 0x1;
    static constexpr qint32 kAllowMultiSelect = 0x200;
    // Without it the open dialog also takes the name of a file that does not exist.
    static constexpr qint32 kFileMustExist = 0x1000;
    // The explorer-style dialog, and long file names in it: what every dialog here is.
    static constexpr qint32 kExplorer = 0x80000;
    static constexpr qint32 kLongNames = 0x200000;

private:
    void show(bool save);
    QWidget* m_owner;
    QString m_lastFolder;
};

// What the dialog is asked to show, for tests that answer it.
struct DialogRequest
{
    bool save;
    QString title;
    QStringList nameFilters;
    qint32 flags;
    QString fileName;
};

namespace CommonDialogTesting {
// Answers every dialog with the returned paths (none for Cancel) instead of
// showing it; an empty function restores the real dialog. After No to the
// replace question the save dialog is asked again, with the name refused.
void SetChooser(std::function<QStringList(const DialogRequest&)> choose);
} // namespace CommonDialogTesting
