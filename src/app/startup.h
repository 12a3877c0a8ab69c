#pragma once

#include <QRect>

#include <memory>

class QApplication;
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

// The program from start to end: names, the one-instance rule (a second start says so and
// ends), the main window placed from the settings and shown, then the event loop.
int runProgram(QApplication& app);
