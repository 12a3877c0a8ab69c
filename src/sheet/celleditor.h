#pragma once

#include <QLineEdit>

// A one-line text box that reports every key before handling it and never lets a key through
// to the window beneath: the grid under the overlay editor must not move its current cell
// because the caret reached the end of the text.
class CellEditor : public QLineEdit
{
    Q_OBJECT

public:
    explicit CellEditor(QWidget* parent = nullptr) : QLineEdit(parent) {}

Q_SIGNALS:
    // A key with its key code (Qt::Key); setting the code to 0 swallows the key.
    void keyDown(int& keyCode, Qt::KeyboardModifiers modifiers);
    // After the key was handled (or swallowed).
    void keyHandled(int keyCode);
    // The box was hidden: whatever was edited in it has ended.
    void hidden();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};
