#include "platform/FileError.h"

#include <QCoreApplication>
#include <QList>
#include <algorithm>
#include <cstring>

namespace FileError {

namespace {

// A character of a name, or a byte of it that is not UTF-8 (held as a lone
// surrogate, FileSystem::NativeName).
struct NameChar
{
    char32_t c;
    bool rawByte;
};

QList<NameChar> charsOf(const QString& path)
{
    QList<NameChar> chars;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path[i];
        if (c.isHighSurrogate() && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
            chars.append({QChar::surrogateToUcs4(c, path[i + 1]), false});
            ++i;
        } else if (c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF) {
            chars.append({char32_t(c.unicode() - 0xDC00), true});
        } else {
            chars.append({c.unicode(), false});
        }
    }
    return chars;
}

bool isControl(const NameChar& c)
{
    return c.rawByte || c.c < 0x20 || c.c == 0x7F || (c.c >= 0x80 && c.c < 0xA0) ||
           QChar::isSurrogate(c.c);
}

// The $'...' spelling of one control character.
QString escaped(const NameChar& c)
{
    switch (c.rawByte ? 0 : c.c) {
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
    const QByteArray bytes =
        c.rawByte ? QByteArray(1, char(c.c)) : QString::fromUcs4(&c.c, 1).toUtf8();
    for (const char byte : bytes)
        out += QStringLiteral("\\%1").arg(uint(quint8(byte)), 3, 8, QLatin1Char('0'));
    return out;
}

// Quoted as a shell would need it, the way ls does: 'a b', "it's", and
// control characters as 'a'$'\n''b'.
QString shellQuoted(const QList<NameChar>& chars)
{
    QString out;
    enum
    {
        None,
        Plain,
        Control
    } open = None;
    for (const NameChar& c : chars) {
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
        if (c.c == '\'')
            out += QLatin1String("'\\''");
        else
            out += QString::fromUcs4(&c.c, 1);
    }
    out += QLatin1Char('\'');
    return out;
}

} // namespace

QString QuotedName(const QString& path)
{
    const QList<NameChar> chars = charsOf(path);
    if (std::none_of(chars.begin(), chars.end(), isControl))
        return QLatin1Char('"') + path + QLatin1Char('"');
    return shellQuoted(chars);
}

QString ShownName(const QString& path)
{
    const QList<NameChar> chars = charsOf(path);
    if (std::any_of(chars.begin(), chars.end(), isControl))
        return shellQuoted(chars);
    // What the shell takes as it stands needs no quotes; ~ and # only first.
    static const QString special = QStringLiteral(" !\"$&'()*;<=>?[\\]^`{|}");
    bool plain = !path.isEmpty();
    for (qsizetype i = 0; i < path.size(); ++i)
        plain = plain && !special.contains(path[i]) &&
                !(i == 0 && (path[i] == QLatin1Char('~') || path[i] == QLatin1Char('#')));
    if (plain)
        return path;
    if (!path.contains(QLatin1Char('\'')))
        return QLatin1Char('\'') + path + QLatin1Char('\'');
    // A quote inside: double quotes, unless the name holds what they let through.
    if (std::none_of(path.begin(), path.end(),
                     [](QChar c) { return QStringLiteral("\"$`\\!").contains(c); }))
        return QLatin1Char('"') + path + QLatin1Char('"');
    return shellQuoted(chars);
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
