#pragma once

#include "model/gridstate.h"

#include <QAbstractScrollArea>
#include <optional>

class QInputMethodEvent;
class QKeyEvent;
class SheetModel;

// The grid control of a sheet: shows a sheet's GridState and turns the user's mouse and keys
// into moves of the current cell and the events a sheet handles. Moves made by the user raise
// leaveCell first; moves made in code on the state raise nothing.
class SheetGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // The state belongs to the sheet and must outlive the grid.
    explicit SheetGrid(GridState& state, QWidget* parent = nullptr);
    // The grid of a sheet's cells; screen readers also hear their values and expressions.
    explicit SheetGrid(SheetModel& model, QWidget* parent = nullptr);
    ~SheetGrid() override;

    GridState& state() { return m_state; }
    const GridState& state() const { return m_state; }
    // The sheet whose cells the grid shows; null for a grid made from a state alone.
    const SheetModel* model() const { return m_model; }

    // Screen resolution the twips convert by.
    double dpi() const;
    int toPixels(int twips) const;
    // Rectangle of a cell in viewport pixels, as laid out now.
    QRect cellRect(int row, int col) const;
    // Scrolls so that the current cell is in view.
    void showCurrentCell();
    // Picture of the grid as laid out (type 0 colour, 1 monochrome).
    QImage Picture(int pictureType = 0) const;

    // While an input method composes a cell's text, the grid keeps the keyboard focus (moving
    // it would reset the composition) and hands the target, the cell's editor, every
    // input-method event and query and every key. Null: the grid takes its input itself.
    void setInputTarget(QWidget* target);
    QWidget* inputTarget() const { return m_inputTarget; }

Q_SIGNALS:
    void leaveCell();
    void clicked();
    void doubleClicked();
    // A typed character with its code; setting the code to 0 swallows it.
    void keyPress(int& keyAscii);
    // A key with its key code (Qt::Key) and modifiers; setting the code to 0 swallows it.
    void keyDown(int& keyCode, Qt::KeyboardModifiers modifiers);
    // Several characters typed at once, as one key brings them.
    void textComposed(const QString& text);
    // An input method starts composing or commits while the grid takes its input itself; a
    // handler may set an input target, which then receives the event.
    void compositionStarted();
    // An input-method event went to the input target.
    void compositionChanged(const QInputMethodEvent& event);
    // The grid's own keys moved the current cell or the selection (arrows, pages, Home, End).
    void navigated();
    void scrolled();
    // The user dragged a column's border and changed the column's width.
    void columnResized(int col);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void focusInEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollBars();
    int rowsPerPage() const;
    std::optional<QPoint> navigationTarget(const QKeyEvent& event, bool extend) const;
    static QString typedText(const QKeyEvent& event);
    void userMoveTo(int row, int col, bool extend);
    void announceLater();
    void commitComposition();
    int resizeBorderAt(const QPoint& pos) const;
    int lastFirstLine(Qt::Orientation orientation) const;

    GridState& m_state;
    const SheetModel* m_model = nullptr;
    bool m_selecting = false;
    int m_resizingCol = -1;
    int m_resizeStartX = 0;
    int m_resizeStartWidth = 0;
    bool m_syncingScroll = false;
    QWidget* m_inputTarget = nullptr;
    // The composition the input target shows, not committed yet.
    QString m_preedit;
    // A screen reader is to hear of the grid once the work under way is done.
    bool m_announcing = false;
    bool m_cellTakesFocus = false;
};
