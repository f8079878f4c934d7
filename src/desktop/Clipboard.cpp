#include "desktop/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <functional>

namespace {

int& busyAttempts()
{
    static int attempts = 0;
    return attempts;
}

// Repeats attempt at once until it succeeds, at most kClipboardAttempts times.
bool retry(const std::function<bool(QClipboard&)>& attempt)
{
    for (int made = 0; made < kClipboardAttempts; ++made) {
        if (busyAttempts() > 0) {
            --busyAttempts();
            continue;
        }
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (clipboard && attempt(*clipboard))
            return true;
    }
    return false;
}

// The MIME type for a clipboard format number: the text formats (1, 7 and 13
// on Windows) are plain text, any other number a type of its own.
QString mimeTypeFor(qint32 format)
{
    if (format == 0 || format == 1 || format == 7 || format == 13)
        return QStringLiteral("text/plain");
    return QStringLiteral("application/x-clipboard-format-%1").arg(format);
}

} // namespace

void ClipboardTesting::SetBusyAttempts(int attempts)
{
    busyAttempts() = attempts;
}

int ClipboardTesting::BusyAttempts()
{
    return busyAttempts();
}

void ClearClipboard()
{
    // A clear that the platform refused leaves us the clipboard's owner.
    retry([](QClipboard& clipboard) {
        clipboard.clear(QClipboard::Clipboard);
        return !clipboard.ownsClipboard();
    });
}

QString GetClipboardText()
{
    QString text;
    retry([&](QClipboard& clipboard) {
        const QMimeData* data = clipboard.mimeData(QClipboard::Clipboard);
        text = data && data->hasText() ? data->text() : QString();
        return true;
    });
    return text;
}

qint16 SetClipboardText(const QString& text, qint32 format)
{
    const QString type = mimeTypeFor(format);
    const bool placed = retry([&](QClipboard& clipboard) {
        auto* data = new QMimeData;
        if (type == QLatin1String("text/plain"))
            data->setText(text);
        else
            data->setData(type, text.toUtf8());
        // The clipboard takes the data; it is ours on the clipboard when we now
        // own the clipboard or the platform hands back the very same data.
        const QPointer<QMimeData> ours(data);
        clipboard.setMimeData(data, QClipboard::Clipboard);
        return ours && (clipboard.ownsClipboard() ||
                        clipboard.mimeData(QClipboard::Clipboard) == ours.data());
    });
    return placed ? -1 : 0;
}
