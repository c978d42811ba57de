#pragma once

#include <functional>

#include "ZCustomEdit.h"

enum TZValueType { vt_Integer, vt_Float };

class TZCustomFloatEdit;

// Supplies the text for a value; an empty result selects the standard format.
using TSetTextNotify = std::function<QString(TZCustomFloatEdit* sender, long double value)>;

// Numeric entry field: the text is the only storage of the number. Typed
// characters are filtered, ',' and '.' become the program's decimal
// separator, limits are enforced when the field is left or Value written,
// and text assigned by the program is shown in the field's own format.
class TZCustomFloatEdit : public TZCustomEdit {
    Q_OBJECT

public:
    explicit TZCustomFloatEdit(QWidget* parent = nullptr);

    TZValueType ValueType() const { return m_valueType; }
    void SetValueType(TZValueType type); // does not reformat the text

    // The text as a number; unreadable text reads 0. Never fails.
    long double Value() const;
    // Shows the number, then replaces it by the violated limit (if any).
    void SetValue(long double value);

    long double MinValue() const { return m_minValue; }
    void SetMinValue(long double value);
    long double MaxValue() const { return m_maxValue; }
    void SetMaxValue(long double value);

    // Decimals of a vt_Float text, 0..18; 0 is the general format.
    int Decimal() const { return m_decimal; }
    void SetDecimal(int decimals);

    void SetOnSetText(TSetTextNotify handler) { m_onSetText = std::move(handler); }

    // The text the field had when it last received the focus.
    QString EntryText() const { return m_entryText; }

    // Puts the number into the text in the field's format.
    void ShowValue(long double value);
    // The text as a signed 32-bit whole number; 0 when unreadable.
    int IntegerValue() const;

    // The unit the number is in ("mm", "in", "N"); empty for none. A pasted
    // number may carry it after the number ("1.5 mm"), in any case.
    QString Unit() const { return m_unit; }
    void SetUnit(const QString& unit) { m_unit = unit; }

    // Inserts text in place of the selection, or at the caret, as if its
    // characters were typed (the same character rules), all at once. Blanks
    // are left out, and so is the field's unit after the number when the
    // text goes at the end. Anything else the filter would drop, a text that
    // no longer fits or a result that reads as no number refuses the whole
    // text with a beep and changes nothing (returns false): what the field
    // then showed would be another number than the one pasted.
    bool InsertFiltered(const QString& text);
    // Pastes the clipboard through InsertFiltered.
    void PasteFiltered();

protected:
    void TextAssigned() override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void Entering() override;
    void Entered() override;
    void Leaving() override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString FormatValue(long double value);
    // The character to enter for `ch` typed into `text` at `caret`, or a
    // null QChar when the filter discards it. `text` is the text as it will
    // be when the character goes in: without the selection it replaces. Sets limitTo11 when an
    // integer field's length limit of 11 applies from now on.
    QChar FilterCharacter(QChar ch, const QString& text, int caret, bool& limitTo11) const;
    void ApplyLimit11();
    void TypeCharacter(QChar ch);
    int Caret() const;
    // The text with the selection taken out, as typing or pasting leaves it.
    QString TextWithoutSelection() const;
    void SeparateUndoStep();

    TZValueType m_valueType = vt_Integer;
    long double m_minValue = 0;
    long double m_maxValue = 0;
    int m_decimal = 2;
    TSetTextNotify m_onSetText;
    QString m_unit;
    QString m_entryText = QStringLiteral("0");
    int m_normaliseDepth = 0;
    bool m_showing = false;
};
