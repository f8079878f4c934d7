// The result commands: save, copy, the Delete key and "Clear All Results".

#include "Form1.h"
#include "ResultView.h"

void Form1::connectResultCommands() {}

void Form1::PushButton2_Click() {}
void Form1::PushButton5_Click() {}
void Form1::PushButton6_Click() {}
void Form1::PushButton8_Click() {}
void Form1::PushButton9_Click() {}
void Form1::PushButton10_Click() {}
void Form1::PushButton7_Click() {}
void Form1::ListView1_KeyDown(int, int) {}
void Form1::ListView2_KeyDown(int, int) {}
void Form1::ListView3_KeyDown(int, int) {}
void Form1::saveResults(ResultView*, const QString&) {}
void Form1::copyResults(ResultView*, const QString&) {}
void Form1::deleteCurrentLine(ResultView*, int) {}
