// The input commands: browse, paste, sample files, help, the hover pointer,
// dropping files onto the window and the recent files of each path field.

#include "desktop/AppInfo.h"
#include "desktop/Clipboard.h"
#include "desktop/CommonDialog.h"
#include "desktop/Launcher.h"
#include "desktop/MsgBox.h"
#include "desktop/SettingsStore.h"
#include "platform/PastedText.h"
#include "platform/RuntimeError.h"
#include "shell/ErrorTrap.h"
#include "shell/Form1.h"
#include "widgets/HelpPage.h"
#include "widgets/ResultPane.h"
#include "widgets/ResultView.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QCompleter>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <array>

namespace {

// Read-only box checked, several files, explorer style, long names (0x280201).
constexpr qint32 kBrowseFlags = CommonDialog::kReadOnly | CommonDialog::kAllowMultiSelect |
                                CommonDialog::kExplorer | CommonDialog::kLongNames;
static_assert(kBrowseFlags == 0x280201);

// The command buttons, whose moves turn the pointer into the hand.
std::vector<QPushButton*> commandButtons(const Form1& form)
{
    std::vector<QPushButton*> buttons = {form.PushButton1,  form.PushButton3,  form.PushButton4,
                                         form.PushButton7,  form.PushButton11, form.PushButton12,
                                         form.PushButton13, form.PushButton14};
    for (const ResultPane* pane : form.Panes)
        buttons.insert(buttons.end(), {pane->Save, pane->Copy});
    return buttons;
}

// The widgets of a result list that receive the pointer's moves.
template <typename Visit> void forEachListPart(ResultView* list, Visit visit)
{
    for (QWidget* part :
         {static_cast<QWidget*>(list), list->viewport(), static_cast<QWidget*>(list->header()),
          list->header()->viewport(), static_cast<QWidget*>(list->verticalScrollBar()),
          static_cast<QWidget*>(list->horizontalScrollBar())})
        visit(part);
}

bool isListPart(ResultView* list, const QObject* watched)
{
    return watched == list || watched == list->viewport() || watched == list->header() ||
           watched == list->header()->viewport() || watched == list->verticalScrollBar() ||
           watched == list->horizontalScrollBar();
}

// The local files a drag carries, in the order the desktop gives them. Empty
// unless every item is a local path that is not a folder: a folder cannot be
// compared, and a web address or plain text is no file at all.
QStringList droppedFiles(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    QStringList files;
    for (const QUrl& url : data->urls()) {
        const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
        if (path.isEmpty() || QFileInfo(path).isDir())
            return {};
        files.append(path);
    }
    return files;
}

// The other path field.
QLineEdit* otherField(const Form1& form, const QLineEdit* field)
{
    return field == form.Text1 ? form.Text2 : form.Text1;
}

// The path field that a single dropped file goes to when it lands on watched.
QLineEdit* dropFieldFor(const Form1& form, const QObject* watched)
{
    if (watched == form.Text1 || watched == form.Frame6)
        return form.Text1;
    if (watched == form.Text2 || watched == form.Frame4)
        return form.Text2;
    return nullptr;
}

// How many paths a field's recent files keep.
constexpr int kRecentFiles = 10;

// A field's recent paths are kept as one value of the settings: the paths,
// most recent first, joined by line feeds, each path's backslashes doubled and
// its own line feeds written as a backslash and "n". Any path a field can hold
// comes back as it was.
QString joinedPaths(const QStringList& paths)
{
    QStringList escaped;
    for (QString path : paths) {
        path.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        path.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        escaped.append(path);
    }
    return escaped.join(QLatin1Char('\n'));
}

QStringList splitPaths(const QString& joined)
{
    QStringList paths;
    for (const QString& escaped : joined.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QString path;
        for (qsizetype i = 0; i < escaped.size(); ++i) {
            if (escaped[i] == QLatin1Char('\\') && i + 1 < escaped.size()) {
                ++i;
                path += escaped[i] == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : escaped[i];
            } else {
                path += escaped[i];
            }
        }
        if (!paths.contains(path) && paths.size() < kRecentFiles)
            paths.append(path);
    }
    return paths;
}

// A field's recent paths, named by their settings key (RecentFiles1, 2).
QStringListModel* recentFilesOf(const QLineEdit* field)
{
    return field->findChild<QStringListModel*>();
}

// Puts path at the top of the field's recent files, once, and keeps the list.
// The clipboard's text pasted as a file is no file of the user's to offer.
void remember(QLineEdit* field, const QString& path)
{
    QStringListModel* recent = recentFilesOf(field);
    const QString pasted = PastedText::Folder();
    if (!recent || path.isEmpty() ||
        (!pasted.isEmpty() && QFileInfo(path).absolutePath() == QDir::cleanPath(pasted)))
        return;
    QStringList paths = recent->stringList();
    paths.removeAll(path);
    paths.prepend(path);
    while (paths.size() > kRecentFiles)
        paths.removeLast();
    if (paths == recent->stringList())
        return;
    recent->setStringList(paths);
    // As with the paths themselves: a settings file that cannot be written
    // was reported at start-up, and the list is kept for this window alone.
    try {
        SaveSetting(QStringLiteral("Harrowmere"), ProductName(), recent->objectName(),
                    joinedPaths(paths));
    } catch (const RuntimeError&) {
    }
}

// A drag over the window or a path field: one file fills the field it lands
// on; two files fill both, the first the field they land on (file 1 when
// they land elsewhere), as two picked with a browse button do; anything else
// is refused, so the fields never take dropped text. Returns whether the
// event was handled here.
bool handleDrag(Form1& form, QObject* watched, QDropEvent* event)
{
    QLineEdit* field = dropFieldFor(form, watched);
    if (!field && watched != &form)
        return false;
    const QStringList files = droppedFiles(event->mimeData());
    // Never answer Move: the source would delete the file it thinks was moved.
    const Qt::DropAction action = (event->possibleActions() & Qt::CopyAction)   ? Qt::CopyAction
                                  : (event->possibleActions() & Qt::LinkAction) ? Qt::LinkAction
                                                                                : Qt::IgnoreAction;
    const bool wanted = files.size() == 2 || (files.size() == 1 && field);
    if (!wanted || action == Qt::IgnoreAction) {
        event->ignore();
        return true;
    }
    event->setDropAction(action);
    event->accept();
    if (event->type() == QEvent::Drop) {
        if (files.size() == 2) {
            QLineEdit* first = field ? field : form.Text1;
            first->setText(files[0]);
            otherField(form, first)->setText(files[1]);
            remember(first, files[0]);
            remember(otherField(form, first), files[1]);
        } else {
            field->setText(files[0]);
            remember(field, files[0]);
        }
    }
    return true;
}

} // namespace

namespace {

// The arrow a drop-down list shows, as the style draws a combo box's: a
// field's button for its recent files.
QIcon dropDownArrow(const QWidget& field)
{
    const int side = field.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &field);
    const qreal ratio = field.devicePixelRatioF();
    QPixmap picture(QSize(side, side) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    QStyleOption option;
    option.initFrom(&field);
    option.rect = QRect(side / 4, side / 4, side / 2, side / 2);
    field.style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, &field);
    return QIcon(picture);
}

} // namespace

void Form1::connectInputCommands()
{
    connect(PushButton3, &QPushButton::clicked, this, &Form1::PushButton3_Click);
    connect(PushButton4, &QPushButton::clicked, this, &Form1::PushButton4_Click);
    connect(PushButton11, &QPushButton::clicked, this, &Form1::PushButton11_Click);
    // The Help button tells where to ask; F1 explains the window itself.
    // One action, in every list's menu with F1 shown on its right, and F1's
    // one shortcut in the whole window (an action a list, each with F1, would
    // make the key ambiguous). Its name to a screen reader is the words alone.
    auto* help = new QAction(tr("How to Read the Lists"), this);
    help->setShortcut(QKeySequence::HelpContents);
    help->setShortcutContext(Qt::WindowShortcut);
    connect(help, &QAction::triggered, this, &Form1::ShowHelpPage);
    addAction(help);
    for (ResultPane* pane : Panes) {
        auto* separator = new QAction(pane->View);
        separator->setSeparator(true);
        pane->View->addAction(separator);
        pane->View->addAction(help);
    }
    connect(PushButton12, &QPushButton::clicked, this, &Form1::PushButton12_Click);
    connect(PushButton13, &QPushButton::clicked, this, &Form1::PushButton13_Click);
    connect(PushButton14, &QPushButton::clicked, this, &Form1::PushButton14_Click);
    // Return or Enter in a path field starts the comparison, as the default
    // button; in the list of recent files it only chooses one.
    for (QLineEdit* field : {Text1, Text2})
        connect(field, &QLineEdit::returnPressed, PushButton1, [this, field] {
            if (!field->completer() || !field->completer()->popup()->isVisible())
                PushButton1->click();
        });

    // Pointer moves arrive without a mouse button held only where tracking is on.
    auto watchMoves = [this](QWidget* widget) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    };
    for (QPushButton* button : commandButtons(*this)) {
        watchMoves(button);
        // A button ignores a move without a pressed button, which would pass it on
        // to the frame or window underneath and reset the hand at once.
        button->setAttribute(Qt::WA_NoMousePropagation);
    }
    watchMoves(this);
    // The fields, the check boxes, the More Options toggle and its panel have
    // no pointer handling, and their moves must not reach the frame beneath
    // either (a check box passes them on).
    for (QWidget* quiet : {static_cast<QWidget*>(Text1), static_cast<QWidget*>(Text2),
                           static_cast<QWidget*>(Check7), static_cast<QWidget*>(Check8),
                           static_cast<QWidget*>(Check9), static_cast<QWidget*>(Toggle1), Panel1})
        quiet->setAttribute(Qt::WA_NoMousePropagation);
    for (QGroupBox* frame : {Frame4, Frame5, Frame6})
        watchMoves(frame);
    for (ResultPane* pane : Panes) {
        watchMoves(pane);
        forEachListPart(pane->View, watchMoves);
    }

    // Files dropped on the window or on a path field (or its frame). The fields
    // already take drops; the event filter stands in front of their own handling.
    for (QWidget* site : {static_cast<QWidget*>(this), static_cast<QWidget*>(Frame6),
                          static_cast<QWidget*>(Frame4)})
        site->setAcceptDrops(true);
    Text1->installEventFilter(this);
    Text2->installEventFilter(this);
    offerRecentFiles();
}

void Form1::offerRecentFiles()
{
    for (QLineEdit* field : {Text1, Text2}) {
        auto* recent = new QStringListModel(field);
        recent->setObjectName(field == Text1 ? QStringLiteral("RecentFiles1")
                                             : QStringLiteral("RecentFiles2"));
        // A settings file that cannot be read offers none.
        try {
            recent->setStringList(splitPaths(
                GetSetting(QStringLiteral("Harrowmere"), ProductName(), recent->objectName())));
        } catch (const RuntimeError&) {
        }
        // Typing offers those that start with what is typed; the button at
        // the field's end and Alt+Down offer them all. A choice fills the
        // field as typing would.
        auto* completer = new QCompleter(recent, field);
        completer->setObjectName(QStringLiteral("recentFiles"));
        completer->setCaseSensitivity(Qt::CaseSensitive);
        completer->setMaxVisibleItems(kRecentFiles);
        field->setCompleter(completer);
        connect(field, &QLineEdit::textEdited, completer,
                [completer] { completer->setCompletionMode(QCompleter::PopupCompletion); });
        QAction* open = field->addAction(dropDownArrow(*field), QLineEdit::TrailingPosition);
        open->setObjectName(QStringLiteral("openRecentFiles"));
        open->setText(tr("Recent Files"));
        open->setToolTip(tr("Recent files (Alt+Down)"));
        open->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
        open->setShortcutContext(Qt::WidgetShortcut);
        connect(open, &QAction::triggered, completer, [field, completer] {
            field->setFocus(Qt::PopupFocusReason);
            completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
            completer->setCompletionPrefix(QString());
            completer->complete();
        });
    }
}

// The paths a comparison starts with are the ones used most.
void Form1::rememberPaths()
{
    remember(Text1, Text1->text());
    remember(Text2, Text2->text());
}

void Form1::PushButton3_Click()
{
    browseInto(Text1, QStringLiteral("PushButton3_Click"));
}

void Form1::PushButton4_Click()
{
    browseInto(Text2, QStringLiteral("PushButton4_Click"));
}

void Form1::browseInto(QLineEdit* field, const QString& procedure)
{
    ErrorTrap trap(procedure);
    // Emptied first, so that a cancelled dialog shows as an empty name.
    trap.Run(100, [this] { CommonDialog1->FileName.clear(); });
    trap.Run(102, [this] { CommonDialog1->Flags = kBrowseFlags; });
    trap.Run(104, [this] {
        CommonDialog1->DialogTitle = tr("Load List(s) - Hold Ctrl to select multiple list files");
    });
    trap.Run(106, [this] {
        CommonDialog1->Filter = tr("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    });
    trap.Run(108, [this] { CommonDialog1->ShowOpen(); });
    if (trap.If(110, [this] { return CommonDialog1->FileName.isEmpty(); }))
        return;
    // Two files fill both fields, the first the field whose button was
    // pressed, as two files dropped on it do; more is a mistake to point out.
    QStringList chosen;
    trap.Run(111, [&] { chosen = CommonDialog1->FileNames; });
    if (trap.If(112, [&] { return chosen.size() > 2; })) {
        trap.Run(114, [] {
            MsgBox(tr("Please select one or two files: the first goes into this "
                      "field, the second into the other one."),
                   kExclamation);
        });
        return;
    }
    trap.Run(116, [this, field] { field->setText(CommonDialog1->FileName); });
    if (chosen.size() == 2)
        trap.Run(118, [&] { otherField(*this, field)->setText(chosen[1]); });
    remember(field, chosen[0]);
    if (chosen.size() == 2)
        remember(otherField(*this, field), chosen[1]);
}

void Form1::PushButton13_Click()
{
    pasteInto(Text1, 1, QStringLiteral("PushButton13_Click"));
}

void Form1::PushButton14_Click()
{
    pasteInto(Text2, 2, QStringLiteral("PushButton14_Click"));
}

void Form1::pasteInto(QLineEdit* field, int which, const QString& procedure)
{
    // The clipboard's text becomes a file of its own, UTF-8 with its lines as
    // they are, and the field names it: from then on it is compared,
    // remembered and shown as any file is. Nothing changes unless it was written.
    ErrorTrap trap(procedure);
    QString text;
    trap.Run(100, [&] { text = GetClipboardText(); });
    if (trap.If(102, [&] { return text.isEmpty(); })) {
        trap.Run(104, [] {
            MsgBox(tr("The clipboard holds no text to paste. Copy the lines to "
                      "compare, then click Paste again."),
                   kExclamation);
        });
        return;
    }
    QString path;
    if (!trap.Run(106,
                  [&] { path = PastedText::Save(PastedText::Folder(), which, text.toUtf8()); }))
        return;
    trap.Run(108, [&] { field->setText(path); });
}

void Form1::PushButton11_Click()
{
    ErrorTrap trap(QStringLiteral("PushButton11_Click"));
    trap.Run(100, [] {
        MsgBox(tr("Questions? Please contact Team Harrowmere at %1")
                   .arg(QStringLiteral(QUILLMARK_CONTACT_PAGE)),
               0);
    });
}

void Form1::ShowHelpPage()
{
    ErrorTrap trap(QStringLiteral("ShowHelpPage"));
    trap.Run(100, [this] {
        if (!m_helpPage)
            m_helpPage = new HelpPage(this);
        m_helpPage->show();
        m_helpPage->raise();
        m_helpPage->activateWindow();
    });
}

void Form1::PushButton12_Click()
{
    ErrorTrap trap(QStringLiteral("PushButton12_Click"));
    trap.Run(100, [this] { Text1->setText(AppFile(QStringLiteral("\\Samples\\sample1.txt"))); });
    trap.Run(102, [this] { Text2->setText(AppFile(QStringLiteral("\\Samples\\sample2.txt"))); });
    if (trap.If(104, [] {
            return MsgBox(tr("Would you like this software to open the folder where "
                             "these sample files are stored (so that you can view "
                             "them before working with them)?"),
                          kYesNo) == kAnswerYes;
        }))
        // The folder goes to the file browser as one argument, not through a
        // shell, so it needs no quotes of its own.
        trap.Run(106, [] {
            OpenFolder(QDir::toNativeSeparators(AppFile(QStringLiteral("\\Samples\\"))));
        });
}

void Form1::hover(int pointer)
{
    // The busy pointer stays until the busy command itself ends.
    if (MousePointer() != kHourglass)
        SetMousePointer(pointer);
}

bool Form1::handleInputEvent(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto buttons = commandButtons(*this);
        if (std::ranges::find(buttons, watched) != buttons.end())
            hover(kCustomPointer);
        else if (watched == this || watched == Frame4 || watched == Frame5 || watched == Frame6 ||
                 std::ranges::any_of(Panes, [watched](ResultPane* pane) {
                     return watched == pane || isListPart(pane->View, watched);
                 }))
            hover(kDefaultPointer);
        return false;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return handleDrag(*this, watched, static_cast<QDropEvent*>(event));
    default:
        return false;
    }
}
