#include "SkinFramework.h"

#include "RuntimeError.h"

#include <QFile>
#include <QWidget>

SkinFramework::SkinFramework(QObject* parent) : QObject(parent) {}

void SkinFramework::LoadSkin(const QString& path, const QString& /*ini*/)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(
            QStringLiteral("Cannot read the skin file \"%1\": %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw RuntimeError(
            QStringLiteral("Cannot read the skin file \"%1\": %2").arg(path, file.errorString()));
    const qsizetype lineEnd = bytes.indexOf('\n');
    const QByteArray first = bytes.left(lineEnd < 0 ? bytes.size() : lineEnd).trimmed();
    if (first != Signature().toLatin1())
        throw RuntimeError(QStringLiteral("The skin file \"%1\" is not a Quillmark skin: its "
                                          "first line is not \"%2\"")
                               .arg(path, Signature()));
    m_styleSheet = QString::fromUtf8(lineEnd < 0 ? QByteArray() : bytes.mid(lineEnd + 1));
    m_loaded = true;
}

void SkinFramework::ApplyWindow(QWidget* window)
{
    if (!window)
        throw RuntimeError(QStringLiteral("No window to apply the skin to"));
    if (!m_loaded)
        throw RuntimeError(QStringLiteral("No skin has been loaded"));
    if (m_enabled && m_applyToDialogs)
        window->setStyleSheet(m_styleSheet);
}
