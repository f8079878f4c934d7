#pragma once

// What the fuzz targets share: a check that stops the run with a readable
// account of what differed, so that libFuzzer keeps the input that did it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

namespace FuzzCheck {

// Bytes as C string escapes, so that control characters and invalid UTF-8 show.
inline QByteArray escaped(QByteArrayView bytes)
{
    QByteArray out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && u != '\\')
            out += c;
        else
            out += QByteArray("\\x") + QByteArray::number(u, 16).rightJustified(2, '0');
    }
    return out;
}

// Text as its 16-bit characters, anything but printable ASCII as \uXXXX.
inline QByteArray escaped(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != '\\')
            out += char(u);
        else
            out += QByteArray("\\u") + QByteArray::number(u, 16).rightJustified(4, '0');
    }
    return out;
}

inline QByteArray escaped(const QByteArray& bytes)
{
    return escaped(QByteArrayView(bytes));
}

inline QByteArray escaped(bool value)
{
    return value ? "true" : "false";
}

inline QByteArray escaped(const QStringList& lines)
{
    QByteArray out = QByteArray::number(lines.size()) + " lines:";
    for (const QString& line : lines)
        out += "\n  [" + escaped(line) + ']';
    return out;
}

[[noreturn]] inline void fail(const char* what, const QByteArray& got, const QByteArray& want)
{
    std::fprintf(stderr, "\n*** %s\n--- got:\n%s\n--- expected:\n%s\n", what, got.constData(),
                 want.constData());
    std::abort();
}

// Stops the run unless got equals want.
template <typename T> void same(const char* what, const T& got, const T& want)
{
    if (!(got == want))
        fail(what, escaped(got), escaped(want));
}

inline void holds(const char* what, bool condition)
{
    if (!condition)
        fail(what, "false", "true");
}

} // namespace FuzzCheck
