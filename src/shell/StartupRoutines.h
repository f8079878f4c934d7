#pragma once

#include <QCursor>
#include <QIcon>
#include <QString>

class Form1;

// Start-up routines of the window.

// When the skin file x/o.cjs is beside the program: gives the window, its
// frames and its check box the system's face colour, then loads the skin and
// applies it to the window.
void ApplySkin(Form1& form);

// One start in a hundred opens the maker's home page.
void MaybeOpenHomePage();

// Sets the application title from the product name.
void SetApplicationTitle();

// The title for a product name: the last word goes, and words go from the
// end until the title has 40 characters or fewer. A single word is kept whole.
QString ApplicationTitleFor(const QString& productName);

// The window icon, in 32, 48, 128 and 256 pixels.
QIcon MainIcon();

// A pointer from a .cur file, with the file's hot spot. Throws RuntimeError
// when the file is no cursor Qt can read.
QCursor LoadPicture(const QString& path);
// The same for a screen of the given scale: a file that holds the image drawn
// for that scale gives that image.
QCursor LoadPicture(const QString& path, qreal scale);
