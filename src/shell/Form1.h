#pragma once

#include "compare/CompareOptions.h"
#include "compare/DiskComparison.h"
#include "results/ListKinds.h"
#include "shell/WorkerChain.h"

#include <QCursor>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class BusyProgress;
class CommonDialog;
class CompareProgress;
struct Comparison;
struct ComparisonRun;
class OverlapBar;
class NearMissDialog;
class HelpPage;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolButton;
class ResultList;
class ResultPane;
struct SaveControl;
class SkinFramework;
class UndoHistory;
namespace NearMisses {
class Index;
}

// The tool's one window: the two path fields with their browse buttons, the
// comparison options, the command buttons and a pane for each result list
// (kListKinds). At its designed size every control has its designed place; a
// larger window widens the fields and buttons and shares the extra height
// among the lists.
// Each control is named (objectName) as in its design. The handlers are in the
// Form1_*.cpp files beside this one, one file for each group of commands.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The window pointer's values: the normal arrow, busy, and the custom
    // pointer (MouseIcon). The pointer doubles as the busy flag.
    static constexpr int kDefaultPointer = 0;
    static constexpr int kHourglass = 11;
    static constexpr int kCustomPointer = 99;
    int MousePointer() const { return m_mousePointer; }
    void SetMousePointer(int pointer);
    void SetMouseIcon(const QCursor& cursor);
    bool HasMouseIcon() const { return m_hasMouseIcon; }

    // The comparison the window's option boxes ask for, those of the More
    // Options panel included whether it is open or not.
    CompareOptions CurrentCompareOptions() const;

    // The memory a comparison may take before it runs from disk, and where
    // its files go then: the settings' MemoryBudget ("4G") and
    // TemporaryFolder, or about half the memory available and $TMPDIR.
    MemoryBudget MemoryBudgetSetting() const;

    // Twips to pixels at the screen's logical resolution.
    int Px(int twips) const;

    // The start-up sequence; main() runs it before showing the window.
    void Form_Load();

    // Whether a comparison that was cancelled, or the freeing of old lists,
    // still goes on on its own thread. It only reads and frees memory, so a
    // program that ends need not wait for it.
    bool WorkRunning() const { return m_workers.Running() > 0; }

    // Handlers.
    void Text1_Change();
    void Text2_Change();
    // The result lists' commands are wired by their panes' design names; the
    // designed handlers below pass on to the pane of their list.
    void PushButton1_Click();      // Start Comparing
    void PushButton2_Click();      // Save list 1
    void PushButton5_Click();      // Save list 2
    void PushButton6_Click();      // Save list 3
    void PushButton8_Click();      // Copy list 1
    void PushButton9_Click();      // Copy list 2
    void PushButton10_Click();     // Copy list 3
    void PushButton7_Click();      // Clear All Results
    void PushButton3_Click();      // Browse for file 1
    void PushButton4_Click();      // Browse for file 2
    void PushButton11_Click();     // Help
    void PushButton12_Click();     // Load Sample/Example Files
    void PushButton13_Click();     // Paste as file 1
    void PushButton14_Click();     // Paste as file 2
    void Toggle1_Click(bool open); // More Options: opens or closes Panel1
    void ListView1_KeyDown(int keyCode, int shift);
    void ListView2_KeyDown(int keyCode, int shift);
    void ListView3_KeyDown(int keyCode, int shift);
    // "Why is this line not in File #2?" (#1) in the context menu of list 2 (3).
    void ListView2_WhyNotIn();
    void ListView3_WhyNotIn();
    // F1, or "How to Read the Lists" in a list's menu: the page that explains
    // the marks, the overlap bar and the options, beside the window.
    void ShowHelpPage();

    // Controls, by their design names.
    QPushButton *PushButton1, *PushButton3, *PushButton4, *PushButton7, *PushButton11,
        *PushButton12;
    // Paste, beside each browse button: the clipboard's text as that file.
    QPushButton *PushButton13, *PushButton14;
    QGroupBox *Frame4, *Frame5, *Frame6;
    QLineEdit *Text1, *Text2;
    QCheckBox *Check7, *Check8, *Check9; // Match Case, Ignore Blanks, List Each Line Once
    // More Options, in the options frame's caption row, and the panel it opens
    // below the three boxes: the key field with its delimiter, the key
    // pattern, and two more boxes.
    QToolButton* Toggle1;
    QWidget* Panel1;
    QLabel *Label1, *Label2, *Label3, *Label4; // the captions of Spin1, Combo1, Text3, Text4
    // Compare Field: empty for the whole line, else the key's fields by
    // number ("1,3") or, with Check12, by name ("id,region").
    QLineEdit* Spin1;
    QComboBox* Combo1;            // Delimiter
    QLineEdit* Text3;             // Key Pattern
    QCheckBox *Check10, *Check11; // Look-Alike Lines Match, Skip Empty Lines
    QCheckBox* Check12;           // First line names the fields
    QLineEdit* Text4;             // Ignore fields: "4,5", or names with Check12
    // The result lists, in the order of kListKinds: each pane is its list's
    // frame (Frame1 ...) with the list (ListView1 ...), its counts, buttons
    // and find bar. A list that only a comparison on a key has (the changed
    // lines) is hidden, and takes no room, until a comparison with a key
    // fills it; the next comparison without one hides it again.
    std::array<ResultPane*, kListCount> Panes{};
    // The panes shown, top to bottom: one band each in the layout.
    std::vector<ResultPane*> shownPanes() const;
    // The overlap of the last comparison beside Start Comparing.
    OverlapBar* Overlap1;
    CommonDialog* CommonDialog1;
    SkinFramework* SkinFramework1;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    // Accessible names and descriptions, and the keys for keyboard-only use.
    void describeControls();
    // Places every control for the window's size: the designed places at the
    // designed size, widened and stretched beyond it; below it the lists give
    // up height down to three rows each, then the room around their buttons
    // and the gaps between the rows.
    void layoutControls();
    int designedWidth() const;
    QHash<QWidget*, QRect> placesFor(int width, int height, bool panelOpen) const;
    // The window's height at its designed size, and the least it can take
    // (three rows in each list, the room around their buttons and the gaps
    // between rows nearly closed), with the
    // options panel open or closed.
    int designedHeight(bool panelOpen) const;
    int leastHeight(bool panelOpen) const;
    // The designed height, or less where the screen has less room below the
    // window's title bar, never below leastHeight.
    int fittedMinimumHeight(bool panelOpen) const;
    // Takes the minimum height for the window's screen, makes the window no
    // taller than the screen has room for, and with onScreen brings its frame,
    // title bar included, onto the screen.
    void fitToScreen(bool onScreen);
    // What the desktop's frame adds to the window's height: known once the
    // window is shown, else the title bar the style would draw.
    int frameHeight() const;
    void watchScreen(QScreen* screen);
    // On a screen with no room even for the least height (200 % on a
    // 1920x1080 screen), the window takes the screen's height and its
    // controls scroll under it: Tab and the wheel bring each into view.
    void buildWindowScroll();
    void scrollIntoView(QWidget* focused);
    // The window's size and place, kept beside the two paths.
    void restorePlacement();
    void savePlacement();
    void connectCommands();
    // The wiring of each subsystem's handlers, in its own file.
    void connectResultCommands();
    void connectInputCommands();
    void connectFindBars();
    void connectNearMissCommands();
    // Shows the look-alikes in the other file of the current row of pane's list.
    void explainMissingLine(const ResultPane& pane);
    // The near misses and their dialog go with the lists they were found for.
    void forgetNearMisses();
    void enableNearMissCommands();
    // Finds the near misses of the lists' comparison on a thread of its own,
    // after the lists show; nearMissesFound takes them on the window's
    // thread, unless search was given up meanwhile (stopNearMissSearch).
    // index is none when they could not be found, failure what went wrong
    // if memory did not run short.
    void findNearMisses();
    void nearMissesFound(const std::shared_ptr<CompareProgress>& search,
                         std::shared_ptr<const NearMisses::Index> index,
                         const std::exception_ptr& failure);
    void stopNearMissSearch();
    // The panel's controls and their wiring; the toggle's caption tells when
    // the closed panel holds options that are set.
    void buildOptionsPanel();
    void showToggleState();
    void fitToggle();
    // Each list's save, copy and Delete handlers share one body each; the
    // error trap names the handler by the pane's design names.
    void saveResults(const ResultPane& pane);
    // "Save All Lists As CSV..." in each list's menu: the lists shown, as
    // they are now, in one CSV file as the companion's --csv writes it.
    void saveListsAsCsv(const ResultPane& pane);
    void copyResults(const ResultPane& pane);
    // Ctrl+C in a list: its selected lines to the clipboard, without a box.
    void copySelection(const ResultPane& pane);
    void deleteCurrentLine(const ResultPane& pane, int keyCode);
    void browseInto(QLineEdit* field, const QString& procedure);
    // Each path field offers the last paths used in it (RecentFiles1, 2).
    void offerRecentFiles();
    void rememberPaths();
    void pasteInto(QLineEdit* field, int which, const QString& procedure);
    // The hover handlers: the member's pointer value unless busy.
    void hover(int pointer);
    bool handleInputEvent(QObject* watched, QEvent* event);
    // Runs the comparison of the two named files off the window's thread and
    // waits for it; none after Cancel. Throws what the comparison threw.
    std::shared_ptr<ComparisonRun> runComparison();
    // Frees the items the window's lists held before job's lists came in.
    void letGoOfOldLists(ComparisonRun& job);
    // Runs write (SaveListInPieces, of count items) off the window's thread,
    // with progress; Cancel leaves an existing file at path as it was.
    void saveInBackground(const QString& path, qint64 count,
                          const std::function<void(SaveControl&)>& write);
    // A long command's progress is the window's while the scope lives:
    // closing the window cancels it.
    class BusyScope
    {
    public:
        BusyScope(Form1& form, BusyProgress& progress);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        Form1& m_form;
        BusyProgress* m_outer; // the command that was working before
    };
    // A close asked for while a command worked happens once it has ended.
    void closeIfAsked();
    // Shows the panes of the lists a comparison made with options has and
    // hides the others; a band that shows makes the window taller while the
    // screen has room below it (else the lists share the height), and one
    // that hides gives that back.
    void showListsOf(const CompareOptions& options);

    void showBusy(bool busy);

    int m_mousePointer = kDefaultPointer;
    // The controls' own pointers (a text field's I-beam) while the hourglass
    // stands in for them.
    std::vector<std::pair<QPointer<QWidget>, QCursor>> m_ownCursors;
    bool m_hasMouseIcon = false;
    bool m_centred = false;
    QCursor m_mouseIcon;
    // The progress of the command that works now, if any.
    BusyProgress* m_busy = nullptr;
    bool m_closeAsked = false;
    // The comparison the lists come from, while its near misses are being
    // found or once they are; none after Clear All Results, or when they
    // could not be found.
    std::shared_ptr<const Comparison> m_compared;
    // Its look-alike lines, once found.
    std::shared_ptr<const NearMisses::Index> m_nearMisses;
    // The search for them while it runs, to give it up.
    std::shared_ptr<CompareProgress> m_nearMissSearch;
    QPointer<NearMissDialog> m_nearMissDialog;
    QPointer<HelpPage> m_helpPage;
    // In the menus of the lists of lines only in one file, none for the others.
    std::array<QAction*, kListCount> m_whyNotIn{};
    // Undo and Redo in every list: Delete, Clear All Results, check marks.
    UndoHistory* m_history = nullptr;
    // Shows the last comparison's overlap again, once Clear All is undone.
    std::function<void()> m_showOverlap;
    int m_columnsWidenedBy = 0;           // what the list columns gained with the window's width
    QScrollBar* m_windowScroll = nullptr; // shown only while the controls scroll
    QRect m_toggleSlot; // the most room the More Options toggle has, at the frame's right end
    int m_panelGrewWindowBy = 0;  // what opening the options panel added to the window's height
    int m_panelMovedWindowBy = 0; // and how far it moved the window up to keep it on the screen
    int m_bandsGrewWindowBy = 0;  // what the bands of lists shown beyond the three added
    QTimer m_placementSaver;      // saves the size and place once a move or resize settles
    int m_fittedFrame = -1;       // the frame height the minimum height was last fitted with
    QTimer m_frameWatch;          // looks for the desktop's frame after the window shows
    int m_frameChecks = 0;        // and gives up after this many looks
    QMetaObject::Connection m_screenWatch; // the screen's work area changing
    bool m_screenFollowed = false;         // the window's screen changes are watched
    // The comparisons, the search for near misses, the saves and the freeing
    // of old lists, each after the one before; last, so that it is gone,
    // every job ended, before anything the jobs report to.
    WorkerChain m_workers;
};

// What the delimiter box offers, and the delimiter a choice or a typed
// character stands for: "Tab" a tab, "Space" runs of blanks and tabs.
QStringList DelimiterChoices();
QString DelimiterFor(const QString& choice);

// A list of fields as typed in Compare Field or Ignore fields: "1,3" is
// numbers, "id,region" names; the empty entry neither.
struct FieldEntry
{
    QList<int> numbers;
    QStringList names;
};
FieldEntry ReadFieldEntry(const QString& entry);

// The Match Case box's value as the compare command reads it: 0 unchecked,
// 1 checked, 2 grayed.
int CheckValue(const QCheckBox* box);
