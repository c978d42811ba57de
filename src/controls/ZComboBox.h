#pragma once

#include <QComboBox>

#include "WinColor.h"

// Combo box with a one-pixel border in BorderColor, or BorderSelected while it
// has the focus, and a drop-down list of at most 8 rows. OnChange is emitted
// only when the user chooses an item other than the current one; setting
// the index from code emits nothing.
class TZComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit TZComboBox(QWidget* parent = nullptr);

    quint32 BorderColor() const { return m_borderColor; }
    void SetBorderColor(quint32 windowsColour);
    quint32 BorderSelected() const { return m_borderSelected; }
    void SetBorderSelected(quint32 windowsColour);

    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int index);

signals:
    void OnChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

public:
    void showPopup() override;

private:
    void OnActivated(int index);

    quint32 m_borderColor = 11242085;
    quint32 m_borderSelected = 4632823;
    int m_indexBeforeChoice = -1; // the index when the user began to choose
};
