#pragma once

#include <QDialog>

// How to read the window, with a picture for each thing it explains: the
// marks a list row draws for what its text does not show, the overlap bar,
// and each comparison option with two lines it changes the answer for. The
// pictures are drawn by the same code as the window's own rows and bar. It
// stays open beside the window (F1 opens it); Esc or Close closes it.
class HelpPage : public QDialog
{
    Q_OBJECT
public:
    explicit HelpPage(QWidget* parent = nullptr);

    // Every text the page shows, in order, as a screen reader reads it.
    QString Text() const;
};
