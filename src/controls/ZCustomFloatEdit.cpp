#include "ZCustomFloatEdit.h"

#include <cmath>
#include <limits>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "NumberFormat.h"
#include "ZStdCtrls.h"

namespace {

constexpr QChar kBackspace(8);
constexpr QChar kEnter(13);
// Assigned texts are normalised until stable; a text handler that never
// settles must not recurse without end.
constexpr int kMaxNormaliseDepth = 8;

bool IsAsciiDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

bool IsBlank(QChar ch)
{
    return ch.isSpace() || ch.category() == QChar::Other_Control;
}

// The pasted text without blanks around it and, when it goes at the end of
// the field, without the field's unit written after the number ("1.5 mm").
QString PastedNumber(const QString& pasted, const QString& unit, bool atEnd)
{
    qsizetype first = 0;
    qsizetype last = pasted.size();
    while (first < last && IsBlank(pasted.at(first)))
        ++first;
    while (last > first && IsBlank(pasted.at(last - 1)))
        --last;
    QString number = pasted.mid(first, last - first);
    if (!atEnd || unit.isEmpty() || !number.endsWith(unit, Qt::CaseInsensitive))
        return number;
    qsizetype end = number.size() - unit.size();
    while (end > 0 && IsBlank(number.at(end - 1)))
        --end;
    // Only a unit after a number: "mm" alone is no number.
    if (end == 0 || !(IsAsciiDigit(number.at(end - 1)) || number.at(end - 1) == u'.' || number.at(end - 1) == u','))
        return number;
    return number.left(end);
}

bool RefusePaste()
{
    QApplication::beep();
    return false;
}

} // namespace

TZCustomFloatEdit::TZCustomFloatEdit(QWidget* parent) : TZCustomEdit(parent)
{
    // Dropped text would bypass the character rules; paste is filtered instead.
    setAcceptDrops(false);
    setText(QStringLiteral("0"));
}

void TZCustomFloatEdit::SetValueType(TZValueType type)
{
    m_valueType = type;
}

long double TZCustomFloatEdit::Value() const
{
    return zevko::ParseFieldValue(Utf8(text()), ZDecimalSeparator());
}

int TZCustomFloatEdit::IntegerValue() const
{
    if (text().isEmpty())
        return 0;
    return zevko::ParseFieldInteger(Utf8(text()));
}

void TZCustomFloatEdit::SetValue(long double value)
{
    if (std::isnan(value))
        value = 0;
    ShowValue(value);
    if (m_minValue == 0 && m_maxValue == 0)
        return;
    if (value > m_maxValue)
        ShowValue(m_maxValue);
    else if (value < m_minValue)
        ShowValue(m_minValue);
}

void TZCustomFloatEdit::SetMinValue(long double value)
{
    if (std::isnan(value))
        return;
    m_minValue = value;
    if (value > m_maxValue)
        m_maxValue = value;
    if (value > Value())
        SetValue(Value());
}

void TZCustomFloatEdit::SetMaxValue(long double value)
{
    if (std::isnan(value))
        return;
    m_maxValue = value;
    if (value < m_minValue)
        m_minValue = value;
    if (value < Value())
        SetValue(Value());
}

void TZCustomFloatEdit::SetDecimal(int decimals)
{
    m_decimal = qBound(0, decimals, 18);
    if (m_valueType == vt_Float)
        SetValue(Value());
}

QString TZCustomFloatEdit::FormatValue(long double value)
{
    if (m_onSetText) {
        QString custom = m_onSetText(this, value);
        if (!custom.isEmpty())
            return custom;
    }
    // Nothing infinite or undefined is ever shown.
    if (!std::isfinite(value))
        value = 0;
    const char separator = ZDecimalSeparator();
    std::string shown;
    if (m_valueType == vt_Integer)
        shown = zevko::FormatInteger(value);
    else if (m_decimal > 0)
        shown = zevko::FormatFixedDecimals(value, m_decimal, separator);
    else
        shown = zevko::FormatGeneral(value, separator);
    return QString::fromStdString(shown);
}

void TZCustomFloatEdit::ShowValue(long double value)
{
    // The text is already in the field's own format; reading it back and
    // formatting again would only undo a text supplied by OnSetText.
    const bool saved = m_showing;
    m_showing = true;
    setText(FormatValue(value));
    m_showing = saved;
}

void TZCustomFloatEdit::TextAssigned()
{
    if (m_showing || m_normaliseDepth >= kMaxNormaliseDepth)
        return;
    ++m_normaliseDepth;
    // Setting the text again re-enters here until the text no longer changes.
    const QString shown = FormatValue(Value());
    if (shown != text())
        setText(shown);
    --m_normaliseDepth;
}

int TZCustomFloatEdit::Caret() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

QString TZCustomFloatEdit::TextWithoutSelection() const
{
    QString rest = text();
    if (hasSelectedText())
        rest.remove(selectionStart(), selectedText().size());
    return rest;
}

QChar TZCustomFloatEdit::FilterCharacter(QChar ch, const QString& text, int caret, bool& limitTo11) const
{
    const QChar minus(u'-');
    const QChar separator = QLatin1Char(ZDecimalSeparator());

    if (ch == minus && caret > 0) {
        if (m_valueType == vt_Integer)
            return {};
        const QChar before = text.at(caret - 1);
        if (before != u'E' && before != u'e')
            return {};
    }

    if (m_valueType == vt_Integer) {
        if ((text.contains(minus) || ch == minus) && MaxLength() == 0)
            limitTo11 = true;
        if (!(ch == kBackspace || ch == kEnter || ch == minus || IsAsciiDigit(ch)))
            return {};
    } else {
        const bool allowed = ch == kBackspace || ch == kEnter || IsAsciiDigit(ch) || ch == u'+' || ch == minus ||
                             ch == u',' || ch == u'.' || ch == u'E' || ch == u'e' || ch == separator;
        if (!allowed)
            return {};
        if (ch == u',' || ch == u'.') {
            if (text.contains(separator))
                return {};
            ch = separator;
        }
    }

    if (ch == u' ')
        return {};

    if (ch == minus && text.contains(minus)) {
        if (m_valueType == vt_Integer)
            return {};
        if (caret == 0 && text.startsWith(minus))
            return {};
    }
    return ch;
}

void TZCustomFloatEdit::ApplyLimit11()
{
    if (MaxLength() == 0)
        SetMaxLength(11);
}

void TZCustomFloatEdit::TypeCharacter(QChar ch)
{
    bool limitTo11 = false;
    // A character typed over a selection replaces it: "." over a selected
    // "0.866" starts a new number and is not a second decimal mark.
    const QChar entered = FilterCharacter(ch, TextWithoutSelection(), Caret(), limitTo11);
    if (limitTo11)
        ApplyLimit11();
    if (entered.isNull())
        return;
    emit OnKeyPress(entered);
    // A full field refuses the character, as the edit box itself would.
    if (entered != kBackspace && entered != kEnter && MaxLength() > 0 &&
        text().size() - selectedText().size() >= MaxLength())
        return;
    UserEdit([this, entered] {
        if (entered == kBackspace)
            backspace();
        else if (entered != kEnter)
            insert(QString(entered));
    });
}

void TZCustomFloatEdit::keyPressEvent(QKeyEvent* event)
{
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteFiltered();
        event->accept();
        return;
    }
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        setText(m_entryText);
        event->accept();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        bool limitTo11 = false;
        if (!FilterCharacter(kEnter, TextWithoutSelection(), Caret(), limitTo11).isNull())
            emit OnKeyPress(kEnter);
        // The line edit lets Enter travel on to the window (default buttons).
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (key == Qt::Key_Backspace && !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        TypeCharacter(kBackspace);
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool isCharacter = !typed.isEmpty() && typed.at(0).isPrint() &&
                             !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!isCharacter) {
        // Caret movement, deletion, undo, select all and the like.
        UserEdit([this, event] { QLineEdit::keyPressEvent(event); });
        return;
    }
    for (const QChar ch : typed)
        TypeCharacter(ch);
    event->accept();
}

void TZCustomFloatEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString committed = event->commitString();
    if (committed.isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent rest(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&rest);
    for (const QChar ch : committed)
        TypeCharacter(ch);
    event->accept();
}

bool TZCustomFloatEdit::InsertFiltered(const QString& pasted)
{
    if (isReadOnly())
        return false;
    // The pasted text replaces the selection; its characters then meet the
    // same rules as typed ones, one after the other at the moving caret.
    QString result = TextWithoutSelection();
    int caret = Caret();
    const QString number = PastedNumber(pasted, m_unit, caret == result.size());
    int limit = MaxLength() > 0 ? MaxLength() : std::numeric_limits<int>::max();
    bool limitTo11 = false;
    QString accepted;
    for (const QChar ch : number) {
        // Blanks (digit grouping, a copied cell's tab or line break) are
        // not part of the number.
        if (IsBlank(ch))
            continue;
        const QChar entered = FilterCharacter(ch, result, caret, limitTo11);
        if (limitTo11 && MaxLength() == 0)
            limit = 11;
        // Dropping a character, or cutting the text to length, would leave
        // another number than the one pasted.
        if (entered.isNull() || result.size() >= limit)
            return RefusePaste();
        result.insert(caret, entered);
        ++caret;
        accepted += entered;
    }
    if (accepted.isEmpty())
        return true;
    if (!zevko::TryParseFieldValue(Utf8(result), ZDecimalSeparator()))
        return RefusePaste();
    if (limitTo11)
        ApplyLimit11();
    SeparateUndoStep();
    UserEdit([this, &accepted] { insert(accepted); });
    SeparateUndoStep();
    return true;
}

void TZCustomFloatEdit::SeparateUndoStep()
{
    // Undo groups edits between caret moves; a paste is undone on its own.
    // A selection was made by moving the caret, which separates already.
    if (hasSelectedText() || text().isEmpty())
        return;
    const int caret = cursorPosition();
    setCursorPosition(caret > 0 ? caret - 1 : caret + 1);
    setCursorPosition(caret);
}

void TZCustomFloatEdit::PasteFiltered()
{
    InsertFiltered(QApplication::clipboard()->text());
}

void TZCustomFloatEdit::contextMenuEvent(QContextMenuEvent* event)
{
    // The line edit's own menu would paste around the character filter, so
    // the field builds the same menu with its own paste. Texts come from
    // the line edit's translations.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool editable = !isReadOnly();
    const bool selected = hasSelectedText();
    const auto add = [this, menu](const char* name, const char* caption, QKeySequence::StandardKey key, bool enabled,
                                  auto slot) {
        QString label = QCoreApplication::translate("QLineEdit", caption);
        const QKeySequence sequence(key);
        if (!sequence.isEmpty())
            label += u'\t' + sequence.toString(QKeySequence::NativeText);
        QAction* action = menu->addAction(label);
        action->setObjectName(QLatin1String(name));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, slot);
    };
    add("edit-undo", "&Undo", QKeySequence::Undo, editable && isUndoAvailable(),
        [this] { UserEdit([this] { undo(); }); });
    add("edit-redo", "&Redo", QKeySequence::Redo, editable && isRedoAvailable(),
        [this] { UserEdit([this] { redo(); }); });
    menu->addSeparator();
    add("edit-cut", "Cu&t", QKeySequence::Cut, editable && selected, [this] { UserEdit([this] { cut(); }); });
    add("edit-copy", "&Copy", QKeySequence::Copy, selected, [this] { copy(); });
    add("edit-paste", "&Paste", QKeySequence::Paste, editable && !QApplication::clipboard()->text().isEmpty(),
        [this] { PasteFiltered(); });
    add("edit-delete", "Delete", QKeySequence::UnknownKey, editable && selected,
        [this] { UserEdit([this] { del(); }); });
    menu->addSeparator();
    add("select-all", "Select All", QKeySequence::SelectAll,
        !text().isEmpty() && selectedText().size() != text().size(), [this] { selectAll(); });
    menu->popup(event->globalPos());
    event->accept();
}

void TZCustomFloatEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QClipboard* clipboard = QApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly()) {
        deselect();
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        InsertFiltered(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    TZCustomEdit::mouseReleaseEvent(event);
}

void TZCustomFloatEdit::Entering()
{
    m_entryText = text();
}

void TZCustomFloatEdit::Entered()
{
    // The caret goes to the end, nothing selected, whatever brought the focus.
    deselect();
    end(false);
}

void TZCustomFloatEdit::Leaving()
{
    // A text that reads as no number ("E5", "1e99999", ".") would be used as
    // 0 while it still showed: it becomes "0", as an empty text does.
    if (text().isEmpty() || text() == QLatin1String("-") ||
        !zevko::TryParseFieldValue(Utf8(text()), ZDecimalSeparator()))
        setText(QStringLiteral("0"));
    const bool limited = !(m_minValue == 0 && m_maxValue == 0);
    if (limited) {
        if (m_valueType == vt_Integer) {
            long double n = IntegerValue();
            // Digits beyond the 32-bit range do not read as a whole number;
            // compare their value so that they cannot pass the limits.
            const long double v = Value();
            if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
                n = v;
            if (n > m_maxValue)
                ShowValue(m_maxValue);
            else if (n < m_minValue)
                ShowValue(m_minValue);
        } else {
            const long double v = Value();
            if (v > m_maxValue)
                ShowValue(m_maxValue);
            else if (v < m_minValue)
                ShowValue(m_minValue);
            else if (m_decimal > 0)
                ShowValue(v);
        }
    } else if (m_valueType == vt_Float && m_decimal > 0) {
        ShowValue(Value());
    }
}
