#pragma once

#include <QRect>

#include <memory>

class QApplication;
class QCoreApplication;
class QLockFile;
class QWidget;

// Start-up services of the program: the one-instance rule and the stored window placement.

// Holds the per-user instance lock while the program runs; empty when another instance
// holds it. A lock left by a crashed instance is taken over.
std::unique_ptr<QLockFile> takeInstanceLock();

// Main window placement in twips from the settings store (application "表計算Tarn!", group
// "Settings"); a missing or non-numeric value takes its default.
QRect storedPlacementTwips();

// Places a window from twips, converted by the screen's logical resolution.
void placeWindow(QWidget& window, const QRect& twips);

// Qt's own texts (the buttons of message boxes, the print and file dialogs, the edit boxes'
// context menu) in Japanese like the rest of the program, whatever the locale; false when Qt's
// Japanese catalogue is not installed.
bool installQtJapanese(QCoreApplication& app);

// The program from start to end: names, the one-instance rule (a second start says so and
// ends), the main window placed from the settings and shown, then the event loop.
int runProgram(QApplication& app);
