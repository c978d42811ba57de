#pragma once

#include <QColor>
#include <QLineEdit>

#include "WinColor.h"

// Single-line edit box with a one-pixel border in one colour without focus
// and another with focus, and an optional background while disabled.
// OnChange is emitted synchronously for every change of the text, typed or
// assigned. Text assigned by the program (SetText, QLineEdit::setText,
// clear, ...) is passed to TextAssigned() after OnChange, so that derived
// fields can normalise it.
class TZCustomEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TZCustomEdit(QWidget* parent = nullptr);

    quint32 BorderColor() const { return m_borderColor; }
    void SetBorderColor(quint32 windowsColour);
    quint32 BorderSelected() const { return m_borderSelected; }
    void SetBorderSelected(quint32 windowsColour);
    // A field holding a value the program will not accept is marked until the
    // value is corrected: its border (two pixels) in BorderError, with or
    // without the focus, and `reason` as its tooltip in place of its own. An
    // empty reason takes the mark away.
    void SetErrorMark(const QString& reason);
    QString ErrorMark() const { return m_errorMark; }
    bool Marked() const { return !m_errorMark.isEmpty(); }
    quint32 BorderError() const { return m_borderError; }
    void SetBorderError(quint32 windowsColour);
    // wincolor::clNone (the default) keeps the field's own colour when disabled.
    quint32 DisabledColor() const { return m_disabledColor; }
    void SetDisabledColor(quint32 windowsColour);
    // The field's own background colour (default: the palette's Base).
    QColor Color() const { return m_color; }
    void SetColor(const QColor& colour);

    // Most characters the user can type or paste; 0 means no limit. Text
    // written by the program is not limited, and a longer text is not cut.
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int length);

    QString Text() const { return text(); }
    void SetText(const QString& text) { setText(text); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void OnChange();
    // Each typed character that passed the field's filter, before it is
    // inserted; Enter arrives as QChar(13), Backspace as QChar(8).
    void OnKeyPress(QChar key);
    void OnEnter();
    void OnExit();

protected:
    // Called after OnChange when the program (not the user) changed the text.
    virtual void TextAssigned() {}
    // Focus entry: Entering() runs before OnEnter, Entered() after it.
    // Leaving() runs before OnExit. A context menu or a switch to another
    // window and back is neither an entry nor an exit.
    virtual void Entering() {}
    virtual void Entered() {}
    virtual void Leaving() {}

    // Runs an edit made by the user: the text changes it causes are typed,
    // not assigned. Nested assignments from change handlers stay assigned.
    template <typename F>
    void UserEdit(F&& edit)
    {
        const bool saved = m_userEdit;
        m_userEdit = true;
        edit();
        m_userEdit = saved;
    }

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void OnTextChanged();
    void ApplyBackground();

    quint32 m_borderColor = 11242085;    // red 101, green 138, blue 171
    quint32 m_borderSelected = 4632823;  // red 247, green 176, blue 70
    quint32 m_borderError = 0x000000FFu; // red 255
    quint32 m_disabledColor = wincolor::clNone;
    QString m_errorMark;
    QColor m_color;
    int m_maxLength = 0;
    bool m_userEdit = false;
    bool m_entered = false;
};
