#include "sheet/celleditor.h"

#include <QKeyEvent>

void CellEditor::keyPressEvent(QKeyEvent* event)
{
    const int original = event->key();
    int code = original;
    Q_EMIT keyDown(code, event->modifiers());
    if (code != 0) {
        QLineEdit::keyPressEvent(event);
    }
    event->accept();
    Q_EMIT keyHandled(original);
}

void CellEditor::hideEvent(QHideEvent* event)
{
    QLineEdit::hideEvent(event);
    Q_EMIT hidden();
}
