#include "shell/StartupRoutines.h"

#include "desktop/AppInfo.h"
#include "desktop/Launcher.h"
#include "desktop/RandomDraw.h"
#include "desktop/SkinFramework.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/InputFile.h"
#include "platform/RuntimeError.h"
#include "shell/Form1.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
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
    // One start in a hundred: a draw of 1 to 100 that comes up with this number.
    constexpr int kHomePageNumber = 7;
    Randomize(Timer());
    const int n = int(std::floor(Rnd() * 100)) + 1;
    if (n == kHomePageNumber)
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
    return LoadPicture(path, qApp ? qApp->devicePixelRatio() : 1.0);
}

QCursor LoadPicture(const QString& path, qreal scale)
{
    // Read whole first, capped: a FIFO or a link to /dev/zero in the
    // picture's place must neither stop nor flood the start.
    constexpr qint64 kPictureLimit = qint64(1) << 20;
    QByteArray bytes = InputFile::ReadSmallFile(path, kPictureLimit);
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ICO");
    QImage picture = reader.read();
    if (picture.isNull())
        throw RuntimeError(QCoreApplication::translate("StartupRoutines",
                                                       "%1 is not a picture this program can read")
                               .arg(FileError::QuotedName(path)));
    // A .cur file keeps each image's hot spot in its directory entry (bytes 4
    // to 7 of 16, after a 6-byte header). On a screen that scales, the image
    // drawn for that scale is taken when the file has one, so the hand stays
    // sharp and keeps its size.
    const bool cursorFile = bytes.size() >= 22 && bytes.at(2) == 2 && bytes.at(3) == 0;
    auto word = [&bytes](int at) { return quint8(bytes.at(at)) | (quint8(bytes.at(at + 1)) << 8); };
    int hotX = cursorFile ? word(10) : -1, hotY = cursorFile ? word(12) : -1;
    const int baseWidth = picture.width();
    if (scale > 1.0) {
        const int wanted = qRound(baseWidth * scale);
        for (int i = 1; i < reader.imageCount() && 6 + 16 * (i + 1) <= bytes.size(); ++i) {
            if (!reader.jumpToImage(i))
                break;
            const QImage larger = reader.read();
            if (larger.width() != wanted)
                continue;
            // Qt's X11 pointer takes the image and its hot spot in screen
            // pixels as they are; elsewhere both are scaled like the window.
            const qreal ratio = qreal(larger.width()) / baseWidth;
            const qreal hotScale =
                QGuiApplication::platformName() == QLatin1String("xcb") ? 1 : ratio;
            picture = larger;
            if (hotScale != 1)
                picture.setDevicePixelRatio(ratio);
            if (cursorFile) {
                hotX = qRound(word(6 + 16 * i + 4) / hotScale);
                hotY = qRound(word(6 + 16 * i + 6) / hotScale);
            }
            break;
        }
    }
    return QCursor(QPixmap::fromImage(picture), hotX, hotY);
}
