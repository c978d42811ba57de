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
// Escape abandons it, also when no editor is open; Insert asks for a new row.
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

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

signals:
    void StoreRequested();
    void AbandonRequested();
    void InsertRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The refusal of the open editor's text, empty when it may be committed.
    QString EditorRefusal() const;
    // Shows the refusal and puts the focus back into the editor.
    void Refuse(const QString& message);
    bool EditorKey(QKeyEvent* key);
    bool ViewKey(QKeyEvent* key);

    QAbstractItemView* m_view;
    QWidget* m_viewport;
    MessageHandler m_showMessage;
    mutable QPointer<QLineEdit> m_editor;
    mutable QPersistentModelIndex m_editorIndex;
    bool m_refusing = false;
};
