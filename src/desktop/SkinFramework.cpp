#include "desktop/SkinFramework.h"

#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/InputFile.h"
#include "platform/RuntimeError.h"

#include <QRegularExpression>
#include <QUrl>
#include <QWidget>

SkinFramework::SkinFramework(QObject* parent) : QObject(parent) {}

namespace {

constexpr qint64 kSkinLimit = qint64(1) << 20;
constexpr qint64 kPictureLimit = qint64(16) << 20;

// Qt loads the pictures that a style sheet names with url() while it paints,
// and would block there on a FIFO or read a device without end. Each one is
// checked now: a missing file only shows nothing, but one that is not a
// regular file of a sane size makes the skin unusable.
void checkPictures(const QString& skinPath, const QString& styleSheet)
{
    static const QRegularExpression url(
        QStringLiteral("url\\(\\s*(?:\"([^\"]*)\"|'([^']*)'|([^)\\s]*))\\s*\\)"),
        QRegularExpression::CaseInsensitiveOption);
    for (auto it = url.globalMatch(styleSheet); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        QString picture = match.captured(1) + match.captured(2) + match.captured(3);
        if (picture.startsWith(QLatin1Char(':')) || picture.startsWith(QLatin1String("qrc:")))
            continue; // built into the program
        if (picture.startsWith(QLatin1String("file://")))
            picture = QUrl(picture).toLocalFile();
        if (!FileSystem::FileExists(picture))
            continue;
        try {
            const InputFile file(picture);
            if (file.Status().st_size > kPictureLimit)
                throw RuntimeError(
                    SkinFramework::tr("Cannot read %1: it is too large (over %2 bytes)")
                        .arg(FileError::QuotedName(picture))
                        .arg(kPictureLimit));
        } catch (const RuntimeError& error) {
            throw RuntimeError(SkinFramework::tr("The skin file %1 names a picture that cannot be "
                                                 "used. %2")
                                   .arg(FileError::QuotedName(skinPath), error.description()));
        }
    }
}

} // namespace

void SkinFramework::LoadSkin(const QString& path, const QString& /*ini*/)
{
    QByteArray bytes;
    try {
        bytes = InputFile::ReadSmallFile(path, kSkinLimit);
    } catch (const RuntimeError& error) {
        throw RuntimeError(tr("Cannot use the skin file. %1").arg(error.description()));
    }
    const qsizetype lineEnd = bytes.indexOf('\n');
    const QByteArray first = bytes.left(lineEnd < 0 ? bytes.size() : lineEnd).trimmed();
    if (first != Signature().toLatin1())
        throw RuntimeError(tr("The skin file %1 is not a Quillmark skin: its "
                              "first line is not \"%2\"")
                               .arg(FileError::QuotedName(path), Signature()));
    const QString styleSheet =
        QString::fromUtf8(lineEnd < 0 ? QByteArray() : bytes.mid(lineEnd + 1));
    checkPictures(path, styleSheet);
    m_styleSheet = styleSheet;
    m_loaded = true;
}

void SkinFramework::ApplyWindow(QWidget* window)
{
    if (!window)
        throw RuntimeError(tr("No window to apply the skin to"));
    if (!m_loaded)
        throw RuntimeError(tr("No skin has been loaded"));
    if (m_enabled && m_applyToDialogs)
        window->setStyleSheet(m_styleSheet);
}
