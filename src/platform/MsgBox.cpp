#include "MsgBox.h"

#include "TestHook.h"

#include "AppInfo.h"

#include <QApplication>
#include <QMessageBox>

namespace {
std::function<int(const MsgBoxRequest&)>& answerer()
{
    return TestHook<struct AnswererHook, int(const MsgBoxRequest&)>();
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
    box.setText(MsgBoxDisplayText(prompt));
    box.setTextFormat(Qt::PlainText);
    switch (style & 0x70) {
    case 48:
        box.setIcon(QMessageBox::Warning);
        break;
    case 16:
        box.setIcon(QMessageBox::Critical);
        break;
    case 32:
        box.setIcon(QMessageBox::Question);
        break;
    case 64:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if ((style & 7) == 4) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? 6 : 7;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return 1;
}
