#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>

class QAbstractItemView;
class QLineEdit;

// Cell editing of the catalog grid: a centred line editor per cell, and the
// keys and clicks that end a cell or a row.
//
// A cell text is checked before the cell is left: a text that is not a number
// is refused with the message the grid's model words, and the editor stays
// open with that text (Tab, Enter, the arrows, a click elsewhere in the grid,
// the focus going to another field of the window). Enter stores the row and
// Escape abandons it, also when no editor is open. Without an open editor,
// Insert asks for a new row, Delete for deleting the current one and
// Ctrl+Enter for selecting it.
//
// Tab and Shift+Tab go from cell to cell without opening editors; past the
// last cell of the last row (or before the first cell) they store the row and
// leave the grid along the window's tab order, never wrapping around into
// another row. A cell opened from the keyboard has its whole text selected,
// shown from its start, so that typing replaces it.
class CatalogCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using MessageHandler = std::function<void(const QString&)>;

    // Watches the view's keys and clicks too. `showMessage` shows a refusal.
    CatalogCellDelegate(QAbstractItemView* view, MessageHandler showMessage);

    bool EditorOpen() const { return !m_editor.isNull(); }
    // Puts an open editor's text into its cell and closes the editor. False,
    // with the refusal shown and the editor kept, when the text is not a
    // number; true when no editor is open.
    bool CommitEditor();
    // Closes an open editor without taking its text.
    void DiscardEditor();

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

signals:
    void StoreRequested();
    void AbandonRequested();
    void InsertRequested();
    void DeleteRequested();
    void SelectRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The refusal of the open editor's text, empty when it may be committed.
    QString EditorRefusal() const;
    // Shows the refusal and puts the focus back into the editor.
    void Refuse(const QString& message);
    bool EditorKey(QKeyEvent* key);
    bool ViewKey(QKeyEvent* key);
    // Tab (forward) or Shift+Tab from the current cell: the next cell, or
    // out of the grid past either end.
    void MoveOn(bool forward);
    bool AtEnd(bool forward) const;
    static void SelectFromStart(QLineEdit* line);

    QAbstractItemView* m_view;
    QWidget* m_viewport;
    MessageHandler m_showMessage;
    mutable QPointer<QLineEdit> m_editor;
    mutable QPersistentModelIndex m_editorIndex;
    bool m_refusing = false;
    bool m_leaving = false;
};
