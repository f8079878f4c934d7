// The input commands: browse, sample files, help and the hover pointer.

#include "Form1.h"

void Form1::connectInputCommands() {}

void Form1::PushButton3_Click() {}
void Form1::PushButton4_Click() {}
void Form1::PushButton11_Click() {}
void Form1::PushButton12_Click() {}
void Form1::browseInto(QLineEdit*, const QString&) {}
void Form1::hover(int) {}
bool Form1::handleInputEvent(QObject*, QEvent*)
{
    return false;
}
