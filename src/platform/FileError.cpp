#include "platform/FileError.h"

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
    return RuntimeError(QStringLiteral("Cannot %1 %2: %3").arg(verb, QuotedName(path), reason));
}

RuntimeError Failure(const QString& verb, const QString& path, int err)
{
    return Failure(verb, path, Reason(err));
}

} // namespace FileError
