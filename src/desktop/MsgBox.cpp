#include "desktop/MsgBox.h"

#include "platform/TestHook.h"

#include "desktop/AppInfo.h"

#include <QApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>

namespace {
std::function<int(const MsgBoxRequest&)>& answerer()
{
    return TestHook<struct AnswererHook, int(const MsgBoxRequest&)>();
}
// The widest Qt lets a box grow: the screen's width less 480 pixels, at most
// 1000, or the whole of a small screen.
int widestBox(const QMessageBox& box)
{
    const QScreen* screen =
        box.parentWidget() ? box.parentWidget()->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 800;
    return screenWidth <= 1024 ? screenWidth : qMin(screenWidth - 480, 1000);
}

// A box narrower than its longest line wraps it wherever a break is allowed,
// after the "//" of an address too. The text is given the width of its
// longest line, as far as the box can grow (the icon and margins take about
// 120 of that); only longer lines wrap.
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
    label->setMinimumWidth(qMax(0, qMin(widest + 2 * label->margin() + 2, widestBox(box) - 120)));
}

// Qt sizes a box for its caption in Qt's own idea of a title bar, 50 pixels
// beside it; a window manager's bar is often of a larger (bold) font and has
// an icon and three buttons, and would cut the caption to "Qu...rk". A
// spacer across the box's grid keeps it as wide as the caption in the wider
// of the title-bar and window fonts, in bold, plus four square buttons.
// Added once the box's layout is final: setting its icon makes it anew.
void keepTitleWhole(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    int widest = 0;
    int tallest = 0;
    for (QFont font : {QApplication::font("QMdiSubWindowTitleBar"), box.font()}) {
        font.setBold(true);
        const QFontMetrics metrics(font);
        widest = qMax(widest, metrics.horizontalAdvance(box.windowTitle()));
        tallest = qMax(tallest, metrics.height());
    }
    const int button =
        qMax(box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box), tallest + 8);
    const QMargins margins = grid->contentsMargins();
    const int width =
        qMin(widest + 4 * button + 16, widestBox(box)) - margins.left() - margins.right();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
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
        box.setDefaultButton(style & kDefaultButton2 ? QMessageBox::No : QMessageBox::Yes);
        keepTitleWhole(box);
        return box.exec() == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    keepTitleWhole(box);
    box.exec();
    return kAnswerOk;
}
