#include "CatalogCellDelegate.h"

#include "CatalogGridModel.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace {

const char* const InitialTextProperty = "zevkoInitialText";
const char* const OpenedProperty = "zevkoOpened";

const CatalogGridModel* GridModel(const QModelIndex& index)
{
    return qobject_cast<const CatalogGridModel*>(index.model());
}

} // namespace

CatalogCellDelegate::CatalogCellDelegate(QAbstractItemView* view, MessageHandler showMessage)
    : QStyledItemDelegate(view), m_view(view), m_viewport(view->viewport()), m_showMessage(std::move(showMessage))
{
    m_view->installEventFilter(this);
    m_viewport->installEventFilter(this);
}

QWidget* CatalogCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    auto* editor = new QLineEdit(parent);
    editor->setAlignment(Qt::AlignCenter);
    editor->setFrame(false);
    m_editor = editor;
    m_editorIndex = index;
    connect(editor, &QLineEdit::textEdited, this, [this] {
        if (auto* model = qobject_cast<CatalogGridModel*>(m_view->model()); model && m_editorIndex.isValid())
            model->BeginRowEdit(m_editorIndex);
    });
    return editor;
}

void CatalogCellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (editor == m_editor) {
        m_editor.clear();
        m_editorIndex = QPersistentModelIndex();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

void CatalogCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    const CatalogGridModel* model = GridModel(index);
    if (line == nullptr || model == nullptr)
        return;
    const QString text = model->EditText(index);
    // A cell redrawn while its editor is open keeps what the user typed.
    if (line->property(InitialTextProperty).isValid() && line->text() == text)
        return;
    line->setText(text);
    line->setProperty(InitialTextProperty, text);
    SelectFromStart(line);
}

void CatalogCellDelegate::SelectFromStart(QLineEdit* line)
{
    // All of it selected, so that typing replaces it, with the caret at the
    // start, so that a long value is read from its first digit.
    const int length = int(line->text().size());
    line->setSelection(length, -length);
}

void CatalogCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    const CatalogGridModel* grid = GridModel(index);
    if (line == nullptr || grid == nullptr)
        return;
    // Opening a cell and leaving it untouched changes nothing, not even the
    // digits beyond the fifteenth.
    if (line->text() == line->property(InitialTextProperty).toString())
        return;
    const CatalogGridModel::CellReading reading =
        CatalogGridModel::ReadCellText(line->text(), index.column(), grid->DecimalSeparator());
    if (!reading.Refusal.isEmpty()) {
        // Every way out of a cell checks the text first; should one slip
        // through, the text is still not taken, and the user is told.
        if (!m_refusing && m_showMessage)
            m_showMessage(reading.Refusal);
        return;
    }
    if (reading.Value)
        model->setData(index, *reading.Value, Qt::EditRole);
}

QString CatalogCellDelegate::EditorRefusal() const
{
    if (m_editor.isNull() || !m_editorIndex.isValid())
        return {};
    if (m_editor->text() == m_editor->property(InitialTextProperty).toString())
        return {};
    const CatalogGridModel* grid = GridModel(m_editorIndex);
    if (grid == nullptr)
        return {};
    return CatalogGridModel::ReadCellText(m_editor->text(), m_editorIndex.column(), grid->DecimalSeparator()).Refusal;
}

void CatalogCellDelegate::Refuse(const QString& message)
{
    m_refusing = true;
    if (m_showMessage)
        m_showMessage(message);
    m_refusing = false;
    if (!m_editor.isNull() && m_editor->isVisible()) {
        m_editor->setFocus();
        m_editor->selectAll();
    }
}

bool CatalogCellDelegate::CommitEditor()
{
    if (m_editor.isNull())
        return true;
    const QString refusal = EditorRefusal();
    if (!refusal.isEmpty()) {
        Refuse(refusal);
        return false;
    }
    QLineEdit* editor = m_editor;
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

void CatalogCellDelegate::DiscardEditor()
{
    if (!m_editor.isNull())
        emit closeEditor(m_editor, QAbstractItemDelegate::NoHint);
}

bool CatalogCellDelegate::EditorKey(QKeyEvent* key)
{
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const QString refusal = EditorRefusal();
        if (!refusal.isEmpty()) {
            Refuse(refusal);
            return true;
        }
        // The view would open the next cell's editor, and from the last
        // cell wrap around to the first row's.
        CommitEditor();
        MoveOn(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
        return true;
    }
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const QString refusal = EditorRefusal();
        if (refusal.isEmpty())
            return false; // the cell is committed on the way out
        Refuse(refusal);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!CommitEditor())
            return true;
        emit StoreRequested();
        // Ctrl+Enter selects the entry just typed.
        if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier)
            emit SelectRequested();
        return true;
    case Qt::Key_Escape:
        DiscardEditor();
        emit AbandonRequested();
        return true;
    default: return false;
    }
}

bool CatalogCellDelegate::AtEnd(bool forward) const
{
    const QAbstractItemModel* model = m_view->model();
    const QModelIndex current = m_view->currentIndex();
    if (model == nullptr || !current.isValid())
        return true;
    if (forward)
        return current.row() == model->rowCount() - 1 && current.column() == model->columnCount() - 1;
    return current.row() == 0 && current.column() == 0;
}

void CatalogCellDelegate::MoveOn(bool forward)
{
    if (!AtEnd(forward)) {
        const QAbstractItemModel* model = m_view->model();
        const QModelIndex current = m_view->currentIndex();
        const int columns = model->columnCount();
        const int cell = current.row() * columns + current.column() + (forward ? 1 : -1);
        m_view->setCurrentIndex(model->index(cell / columns, cell % columns));
        return;
    }
    emit StoreRequested();
    // The window's own focus chain from here: the view's Tab navigation is
    // off for this one key, so it moves the focus instead of a cell.
    m_leaving = true;
    const bool navigation = m_view->tabKeyNavigation();
    m_view->setTabKeyNavigation(false);
    QKeyEvent tab(QEvent::KeyPress, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                  forward ? Qt::NoModifier : Qt::ShiftModifier);
    QCoreApplication::sendEvent(m_view, &tab);
    m_view->setTabKeyNavigation(navigation);
    m_leaving = false;
}

bool CatalogCellDelegate::ViewKey(QKeyEvent* key)
{
    if (m_leaving)
        return false;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && modifiers == Qt::ControlModifier) {
        emit SelectRequested();
        return true;
    }
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
        if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        MoveOn(key->key() == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier));
        return true;
    }
    if (modifiers != Qt::NoModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: emit StoreRequested(); return true;
    case Qt::Key_Delete:
        // An open editor's Delete deletes a character.
        if (!m_editor.isNull())
            return false;
        emit DeleteRequested();
        return true;
    case Qt::Key_Escape: emit AbandonRequested(); return true;
    case Qt::Key_Insert: emit InsertRequested(); return true;
    default: return false;
    }
}

bool CatalogCellDelegate::eventFilter(QObject* watched, QEvent* event)
{
    // qobject_cast first: an editor being destroyed is no longer a QLineEdit
    // (comparing it with the QPointer would cast it to one) and still passes
    // its last events through this filter.
    if (qobject_cast<QLineEdit*>(watched) != nullptr && !m_editor.isNull() && watched == m_editor) {
        if (event->type() == QEvent::KeyPress && EditorKey(static_cast<QKeyEvent*>(event)))
            return true;
        // The view selects the text once more as it opens the editor, which
        // leaves the caret (and the view of a long value) at its end.
        if (event->type() == QEvent::FocusIn && !m_editor->property(OpenedProperty).toBool()) {
            m_editor->setProperty(OpenedProperty, true);
            if (m_editor->text() == m_editor->property(InitialTextProperty).toString())
                SelectFromStart(m_editor);
        }
        if (event->type() == QEvent::FocusOut) {
            if (m_refusing)
                return true; // the refusal's own message box took the focus
            const QString refusal = EditorRefusal();
            if (!refusal.isEmpty()) {
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                // Another program or a menu took the focus, or the page was
                // put away: the editor keeps its text until the user is back.
                if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && m_editor->isVisible())
                    QTimer::singleShot(0, this, [this, refusal] {
                        if (!m_editor.isNull())
                            Refuse(refusal);
                    });
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }
    if (watched == m_view && event->type() == QEvent::KeyPress)
        return ViewKey(static_cast<QKeyEvent*>(event));
    // The viewport as it was when watching began: it also reports its own
    // destruction, when the view around it is no longer a view to ask.
    if ((event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) &&
        !m_editor.isNull() && watched == m_viewport) {
        const QString refusal = EditorRefusal();
        if (!refusal.isEmpty()) {
            Refuse(refusal);
            return true;
        }
    }
    return false;
}
