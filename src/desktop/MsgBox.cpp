#include "desktop/MsgBox.h"

#include "platform/TestHook.h"

#include "desktop/AppInfo.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

namespace {
std::function<int(const MsgBoxRequest&)>& answerer()
{
    return TestHook<struct AnswererHook, int(const MsgBoxRequest&)>();
}
// A box narrower than its longest line wraps it wherever a break is allowed,
// after the "//" of an address too. The text is given the width of its
// longest line, as far as the box can grow (Qt caps a box at the screen's
// width less 480 pixels, at most 1000, or the whole of a small screen; the
// icon and margins take about 120 of that); only longer lines wrap.
void keepLinesWhole(QMessageBox& box, const QString& text)
{
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    box.ensurePolished();
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    const QScreen* screen =
        box.parentWidget() ? box.parentWidget()->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 800;
    const int boxWidth = screenWidth <= 1024 ? screenWidth : qMin(screenWidth - 480, 1000);
    label->setMinimumWidth(qMax(0, qMin(widest + 2 * label->margin() + 2, boxWidth - 120)));
}

} // namespace

void MsgBoxTesting::SetAnswerer(std::function<int(const MsgBoxRequest&)> answer)
{
    answerer() = std::move(answer);
}

QString MsgBoxDisplayText(const QString& prompt)
{
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int MsgBox(const QString& prompt, int style, const QString& title)
{
    const MsgBoxRequest request{prompt, style, title.isEmpty() ? AppTitle() : title};
    if (answerer())
        return answerer()(request);

    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(request.title);
    const QString text = MsgBoxDisplayText(prompt);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    keepLinesWhole(box, text);
    switch (style & 0x70) {
    case kExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case kCritical:
        box.setIcon(QMessageBox::Critical);
        break;
    case kQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case kInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if ((style & 7) == kYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return kAnswerOk;
}
