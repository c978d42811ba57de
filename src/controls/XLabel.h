#pragma once

#include <functional>

#include <QColor>
#include <QPointer>
#include <QWidget>

class TLabelHint;
class QPainter;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TLblBevel { lbNone, lbLowered, lbRaised };
enum TLblBorderStyle { bsNone, bsSingle };
enum TShowEllipsis { teYes, teNone, teAuto };
enum TTypeEllipsis { etEnd, etPath };

class TXLabel;

// May draw the caption itself. `rect` and `flags` (Qt::AlignmentFlag and
// Qt::TextFlag values) may be changed; the default drawing follows only when
// the handler sets drawDefault to true.
using TDrawTextNotify = std::function<void(TXLabel* sender, QPainter& canvas, const QString& caption, QRect& rect,
                                           int& flags, bool& drawDefault)>;

// Read-only label drawn like a sunken (or raised) field. A caption that does
// not fit is cut with an ellipsis; while the mouse is over the label the
// whole caption shows in a hint window laid over the label.
class TXLabel : public QWidget {
    Q_OBJECT

public:
    explicit TXLabel(QWidget* parent = nullptr);
    ~TXLabel() override;

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    QString text() const { return m_caption; }
    void setText(const QString& caption) { SetCaption(caption); }

    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool on); // on: ShowTextEllipsis becomes teNone
    bool ShowAccelChar() const { return m_showAccelChar; }
    void SetShowAccelChar(bool on);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool on);
    TLblBevel Bevel() const { return m_bevel; }
    void SetBevel(TLblBevel bevel);
    TLblBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TLblBorderStyle style);
    quint32 BorderColor() const { return m_borderColor; }
    void SetBorderColor(quint32 windowsColour);
    // teNone switches WordWrap off, and AutoWidth off unless a maximum width is set.
    TShowEllipsis ShowTextEllipsis() const { return m_showTextEllipsis; }
    void SetShowTextEllipsis(TShowEllipsis mode);
    TTypeEllipsis ShowTypeEllipsis() const { return m_showTypeEllipsis; }
    void SetShowTypeEllipsis(TTypeEllipsis type);
    bool HintShow() const { return m_hintShow; }
    void SetHintShow(bool on);
    // On without a maximum width: ShowTextEllipsis becomes teAuto.
    bool AutoWidth() const { return m_autoWidth; }
    void SetAutoWidth(bool on);
    bool AutoHeight() const { return m_autoHeight; }
    void SetAutoHeight(bool on);
    QWidget* FocusControl() const { return m_focusControl; }
    void SetFocusControl(QWidget* control);
    // Background (default: the palette's Base, the system window colour).
    QColor Color() const { return m_color; }
    void SetColor(const QColor& colour);

    void SetOnDrawText(TDrawTextNotify handler);

    // The hint window while it exists (it is created at the first hint).
    TLabelHint* Hint() const { return m_hint; }
    bool HintVisible() const;

    // The caption as the label draws it at its present size: cut with the
    // ellipsis when it does not fit (unless ShowTextEllipsis is teNone).
    QString VisibleCaption() const;

    QSize sizeHint() const override;

signals:
    void OnMouseEnter();
    void OnMouseLeave();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int DrawFlags() const;
    QRect TextRect() const;
    QString DisplayText(const QRect& rect, int flags) const;
    void DrawCaption(QPainter& painter, QRect rect, int flags);
    void AdjustSize();
    void UpdateShortcut();
    void HideHint();

    QString m_caption;
    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlCenter;
    bool m_wordWrap = false;
    bool m_showAccelChar = true;
    bool m_transparent = false;
    TLblBevel m_bevel = lbNone;
    TLblBorderStyle m_borderStyle = bsNone;
    quint32 m_borderColor = 0;
    TShowEllipsis m_showTextEllipsis = teAuto;
    TTypeEllipsis m_showTypeEllipsis = etEnd;
    bool m_hintShow = true;
    bool m_autoWidth = false;
    bool m_autoHeight = false;
    QPointer<QWidget> m_focusControl;
    QColor m_color;
    TDrawTextNotify m_onDrawText;
    TLabelHint* m_hint = nullptr;
    int m_shortcutId = 0;
    bool m_adjusting = false;
};
