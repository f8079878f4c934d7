QUILLMARK-SKIN 1
/*
 * Quillmark light skin.
 *
 * The first line above is the skin signature; everything below it is a Qt
 * style sheet applied to the main window (Form1) and everything inside it.
 *
 * The window uses a fixed layout and sets its fonts in code, so this sheet
 * only touches colours, borders and corner radii. It never sets a font,
 * and any padding it sets is balanced so text does not move between states.
 *
 * Palette
 *   window         #E9EEF4   frame face     #F6F8FB   field / list  #FFFFFF
 *   line           #C3CEDB   strong line    #9FB0C4   text          #1E2F42
 *   title text     #2B4866   muted text     #8795A6
 *   accent         #2A7BBF   accent dark    #1D5F99   focus         #3A8DDB
 *   selection      #CFE4F8   selection text #0F2740   row tint      #F4F7FB
 */

/* ---- window ------------------------------------------------------------ */

QWidget#Form1 {
    background-color: #E9EEF4;
    color: #1E2F42;
}

/* ---- frames ------------------------------------------------------------ */

QGroupBox {
    background-color: #F6F8FB;
    border: 1px solid #C3CEDB;
    border-radius: 4px;
    margin-top: 7px;
    color: #2B4866;
}

QGroupBox::title {
    subcontrol-origin: margin;
    subcontrol-position: top left;
    left: 8px;
    padding: 0px 4px;
    color: #2B4866;
    background-color: #E9EEF4;
    border-radius: 3px;
}

/* A list's counts, at the right end of its frame's caption line, dressed as the caption. */
ListCounts {
    padding: 0px 4px;
    color: #2B4866;
    background-color: #E9EEF4;
    border-radius: 3px;
}

QGroupBox:disabled,
QGroupBox::title:disabled {
    color: #8795A6;
}

/* ---- text fields ------------------------------------------------------- */

QLineEdit {
    background-color: #FFFFFF;
    color: #1E2F42;
    border: 1px solid #B4C1D0;
    border-radius: 3px;
    padding: 1px 4px;
    selection-background-color: #2A7BBF;
    selection-color: #FFFFFF;
}

QLineEdit:hover {
    border-color: #8EA4BD;
}

/* a 2 px ring; padding shrinks by 1 px so the text stays put */
QLineEdit:focus {
    border: 2px solid #3A8DDB;
    padding: 0px 3px;
}

QLineEdit:read-only {
    background-color: #F7F9FB;
}

QLineEdit:disabled {
    background-color: #EEF1F5;
    color: #8795A6;
    border-color: #D2DAE3;
}

/* ---- check box --------------------------------------------------------- */

QCheckBox {
    color: #1E2F42;
    background-color: #F6F8FB; /* the frame's face, not the system's */
}

QCheckBox:disabled {
    color: #8795A6;
}

QCheckBox:focus {
    color: #1D5F99;
}

/* ---- More Options: its toggle in the frame's caption row, its panel ---- */

/* a second caption at the frame's right end; its arrow tells open or closed */
QToolButton#Toggle1 {
    background-color: #E9EEF4;
    color: #2B4866;
    border: 1px solid transparent;
    border-radius: 3px;
    padding: 0px 4px;
}

QToolButton#Toggle1:hover {
    background-color: #DCE6F1;
    color: #17426E;
}

QToolButton#Toggle1:pressed {
    background-color: #D3E1EF;
}

QToolButton#Toggle1:focus {
    border-color: #3A8DDB;
}

QWidget#Panel1 QLabel {
    color: #1E2F42;
    background-color: #F6F8FB; /* the frame's face, not the system's */
}

/* ---- buttons ----------------------------------------------------------- */

QPushButton {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                      stop: 0 #FFFFFF, stop: 1 #EDF1F6);
    color: #1E3A5A;
    border: 1px solid #A9B8C9;
    border-radius: 4px;
    padding: 1px 6px;
}

QPushButton:hover {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                      stop: 0 #FFFFFF, stop: 1 #E1ECF8);
    border-color: #5E93C6;
    color: #17426E;
}

QPushButton:pressed {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                      stop: 0 #D3E1EF, stop: 1 #E2EBF5);
    border-color: #4A7FB3;
    padding: 2px 6px 0px 6px;
}

QPushButton:focus {
    border: 2px solid #3A8DDB;
    padding: 0px 5px;
}

QPushButton:focus:pressed {
    padding: 1px 5px -1px 5px;
}

QPushButton:disabled {
    background-color: #F0F3F7;
    color: #A3AFBD;
    border: 1px solid #D2DAE3;
    padding: 1px 6px;
}

/* the main action */
QPushButton#PushButton1 {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                      stop: 0 #3A8ED0, stop: 1 #2672B3);
    color: #FFFFFF;
    border: 1px solid #1F5F98;
}

QPushButton#PushButton1:hover {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                      stop: 0 #4A9CDC, stop: 1 #2E7DC0);
    border-color: #1F5F98;
    color: #FFFFFF;
}

QPushButton#PushButton1:pressed {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                      stop: 0 #1F639F, stop: 1 #2870AE);
    border-color: #184F80;
}

QPushButton#PushButton1:focus {
    border: 2px solid #12406B;
}

QPushButton#PushButton1:disabled {
    background-color: #B9CCE0;
    color: #EEF3F8;
    border: 1px solid #A9BDD3;
}

/* the small "..." browse buttons (40 x 23) get no side padding */
QPushButton#PushButton3,
QPushButton#PushButton4 {
    padding: 1px 0px;
}

QPushButton#PushButton3:pressed,
QPushButton#PushButton4:pressed {
    padding: 2px 0px 0px 0px;
}

QPushButton#PushButton3:focus,
QPushButton#PushButton4:focus {
    padding: 0px;
}

QPushButton#PushButton3:disabled,
QPushButton#PushButton4:disabled {
    padding: 1px 0px;
}

/* ---- result lists ------------------------------------------------------ */

ResultView {
    background-color: #FFFFFF;
    alternate-background-color: #F4F7FB;
    color: #1E2F42;
    border: 1px solid #B4C1D0;
    border-radius: 3px;
    selection-background-color: #CFE4F8;
    selection-color: #0F2740;
    show-decoration-selected: 1;
    outline: 0;
}

ResultView:hover {
    border-color: #8EA4BD;
}

ResultView:focus {
    border-color: #3A8DDB;
}

ResultView:disabled {
    background-color: #F3F5F8;
    color: #8795A6;
}

ResultView::item:hover {
    background-color: #E7F0FA;
}

ResultView::item:selected {
    background-color: #D7E7F7;
    color: #0F2740;
}

ResultView::item:selected:active {
    background-color: #C4DCF4;
    color: #0F2740;
}

QHeaderView {
    /* The one column is narrower than the list: the rest of the heading
       continues the section's colour and rule instead of leaving a gap. */
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                      stop: 0 #F7F9FC, stop: 1 #E6ECF3);
    border-bottom: 1px solid #C3CEDB;
}

QHeaderView::section {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                      stop: 0 #F7F9FC, stop: 1 #E6ECF3);
    color: #2B4866;
    border: none;
    border-bottom: 1px solid #C3CEDB;
    padding: 1px 4px;
}

ResultView QHeaderView::section:first {
    border-top-left-radius: 2px;
}

/* ---- scroll bars ------------------------------------------------------- */

QScrollBar:vertical {
    background-color: #F1F4F8;
    width: 14px;
    margin: 0px;
    border: none;
    border-left: 1px solid #E1E7EE;
}

QScrollBar:horizontal {
    background-color: #F1F4F8;
    height: 14px;
    margin: 0px;
    border: none;
    border-top: 1px solid #E1E7EE;
}

QScrollBar::handle:vertical {
    background-color: #C2CEDB;
    border-radius: 4px;
    min-height: 24px;
    margin: 2px 3px 2px 2px;
}

QScrollBar::handle:horizontal {
    background-color: #C2CEDB;
    border-radius: 4px;
    min-width: 24px;
    margin: 2px 2px 3px 2px;
}

QScrollBar::handle:hover {
    background-color: #9DB1C6;
}

QScrollBar::handle:pressed {
    background-color: #7E98B3;
}

QScrollBar::add-line,
QScrollBar::sub-line {
    width: 0px;
    height: 0px;
    border: none;
    background: none;
}

QScrollBar::add-page,
QScrollBar::sub-page {
    background: none;
}

QAbstractScrollArea::corner {
    background-color: #F1F4F8;
    border: none;
}

/* ---- pop-ups that open inside the window ------------------------------- */

QMenu {
    background-color: #FFFFFF;
    color: #1E2F42;
    border: 1px solid #B4C1D0;
    padding: 3px 0px;
}

QMenu::item {
    padding: 3px 20px 3px 20px;
    background: transparent;
}

QMenu::item:selected {
    background-color: #D7E7F7;
    color: #0F2740;
}

QMenu::item:disabled {
    color: #A3AFBD;
}

QMenu::separator {
    height: 1px;
    background-color: #E1E7EE;
    margin: 3px 6px;
}

QToolTip {
    background-color: #FFFFFF;
    color: #1E2F42;
    border: 1px solid #9FB0C4;
    padding: 2px 4px;
}
