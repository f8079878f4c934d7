#include "platform/FileError.h"

#include <QCoreApplication>
#include <QList>
#include <cstring>

namespace FileError {

namespace {

bool isControl(char32_t c)
{
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
}

// The $'...' spelling of one control character.
QString escaped(char32_t c)
{
    switch (c) {
    case '\a':
        return QStringLiteral("\\a");
    case '\b':
        return QStringLiteral("\\b");
    case '\t':
        return QStringLiteral("\\t");
    case '\n':
        return QStringLiteral("\\n");
    case '\v':
        return QStringLiteral("\\v");
    case '\f':
        return QStringLiteral("\\f");
    case '\r':
        return QStringLiteral("\\r");
    default:
        break;
    }
    // Octal, one escape per byte of the character's UTF-8 form.
    QString out;
    const QByteArray bytes = QString::fromUcs4(&c, 1).toUtf8();
    for (const char byte : bytes)
        out += QStringLiteral("\\%1").arg(uint(quint8(byte)), 3, 8, QLatin1Char('0'));
    return out;
}

} // namespace

QString QuotedName(const QString& path)
{
    const QList<uint> chars = path.toUcs4();
    bool anyControl = false;
    for (const uint c : chars)
        anyControl = anyControl || isControl(c);
    if (!anyControl)
        return QLatin1Char('"') + path + QLatin1Char('"');

    QString out;
    enum
    {
        None,
        Plain,
        Control
    } open = None;
    for (const uint c : chars) {
        if (isControl(c)) {
            if (open == Plain)
                out += QLatin1Char('\'');
            if (open != Control)
                out += QLatin1String("$'");
            open = Control;
            out += escaped(c);
            continue;
        }
        if (open == Control)
            out += QLatin1Char('\'');
        if (open != Plain)
            out += QLatin1Char('\'');
        open = Plain;
        if (c == '\'')
            out += QLatin1String("'\\''");
        else
            out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
    }
    out += QLatin1Char('\'');
    return out;
}

QString Reason(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

RuntimeError Failure(const QString& verb, const QString& path, const QString& reason)
{
    // Each verb has a sentence of its own, so that a language may put the
    // verb where it goes.
    static const std::pair<const char*, const char*> sentences[] = {
        {"create", QT_TRANSLATE_NOOP("FileError", "Cannot create %1: %2")},
        {"create the folder", QT_TRANSLATE_NOOP("FileError", "Cannot create the folder %1: %2")},
        {"open", QT_TRANSLATE_NOOP("FileError", "Cannot open %1: %2")},
        {"open the folder", QT_TRANSLATE_NOOP("FileError", "Cannot open the folder %1: %2")},
        {"read", QT_TRANSLATE_NOOP("FileError", "Cannot read %1: %2")},
        {"restrict the folder",
         QT_TRANSLATE_NOOP("FileError", "Cannot restrict the folder %1: %2")},
        {"use the folder", QT_TRANSLATE_NOOP("FileError", "Cannot use the folder %1: %2")},
        {"write", QT_TRANSLATE_NOOP("FileError", "Cannot write %1: %2")},
    };
    for (const auto& [known, sentence] : sentences) {
        if (verb == QLatin1String(known))
            return RuntimeError(
                QCoreApplication::translate("FileError", sentence).arg(QuotedName(path), reason));
    }
    return RuntimeError(QStringLiteral("Cannot %1 %2: %3").arg(verb, QuotedName(path), reason));
}

RuntimeError Failure(const QString& verb, const QString& path, int err)
{
    return Failure(verb, path, Reason(err));
}

} // namespace FileError
