#include "StartupRoutines.h"

#include "AppInfo.h"
#include "FileSystem.h"
#include "Form1.h"
#include "Launcher.h"
#include "RandomDraw.h"
#include "RuntimeError.h"
#include "SkinFramework.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <cmath>

void ApplySkin(Form1& form)
{
    const QString path = AppFile(QStringLiteral("\\x\\o.cjs"));
    if (!FileSystem::RegularFileLookup(path))
        return;
    // The system's face colour, for the window and its frame-like controls.
    const QColor face = QApplication::palette().color(QPalette::Button);
    auto recolour = [&face](QWidget* widget) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, face);
        // A check box fills its background from the Button role, not Window.
        palette.setColor(widget->backgroundRole(), face);
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    };
    recolour(&form);
    for (QWidget* control : form.findChildren<QWidget*>()) {
        if (qobject_cast<QRadioButton*>(control) || qobject_cast<QCheckBox*>(control) ||
            qobject_cast<QGroupBox*>(control) || qobject_cast<QLabel*>(control))
            recolour(control);
    }
    SkinFramework& skin = *form.SkinFramework1;
    skin.LoadSkin(path, QString());
    skin.SetOptions(skin.Options() | 1);
    skin.SetEnabled(true);
    skin.SetApplyToDialogs(true);
    skin.ApplyWindow(&form);
}

void MaybeOpenHomePage()
{
    Randomize(Timer());
    const int n = int(std::floor(Rnd() * 100)) + 1;
    if (n == 7)
        OpenUrl(QStringLiteral(QUILLMARK_HOME_PAGE));
}

QString ApplicationTitleFor(const QString& productName)
{
    QString title = productName;
    for (;;) {
        const qsizetype space = title.lastIndexOf(QLatin1Char(' '));
        if (space < 0)
            break; // a single word stays whole
        title.truncate(space);
        if (title.size() <= 40)
            break;
    }
    return title;
}

void SetApplicationTitle()
{
    SetAppTitle(ApplicationTitleFor(ProductName()));
}

// The icon is compiled into a static library: nothing would pull its
// resource in, and ":/quillmark.ico" would not exist at run time.
static void loadAssets()
{
    Q_INIT_RESOURCE(assets);
}

QIcon MainIcon()
{
    loadAssets();
    QIcon icon;
    QImageReader reader(QStringLiteral(":/quillmark.ico"));
    QImage largest;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        const QImage image = reader.read();
        // The 24-bit image has no alpha channel that Qt reads: it would show black corners.
        if (image.hasAlphaChannel()) {
            icon.addPixmap(QPixmap::fromImage(image));
            if (image.width() > largest.width())
                largest = image;
        }
    }
    if (!largest.isNull())
        icon.addPixmap(QPixmap::fromImage(
            largest.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    return icon;
}

QCursor LoadPicture(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    QPixmap picture;
    if (!picture.loadFromData(bytes, "ICO"))
        throw RuntimeError(
            QStringLiteral("\"%1\" is not a picture this program can read").arg(path));
    // A .cur file keeps the hot spot of its first image at bytes 10 to 13.
    int hotX = -1, hotY = -1;
    if (bytes.size() >= 14 && bytes.at(2) == 2 && bytes.at(3) == 0) {
        hotX = quint8(bytes.at(10)) | (quint8(bytes.at(11)) << 8);
        hotY = quint8(bytes.at(12)) | (quint8(bytes.at(13)) << 8);
    }
    return QCursor(picture, hotX, hotY);
}
