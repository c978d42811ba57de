#include "WinColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace {
QColor SystemColour(quint32 index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 5: return palette.color(QPalette::Active, QPalette::Base);       // window
    case 8: return palette.color(QPalette::Active, QPalette::WindowText); // window text
    case 13: return palette.color(QPalette::Active, QPalette::Highlight); // selection
    case 14: return palette.color(QPalette::Active, QPalette::HighlightedText);
    case 15: return palette.color(QPalette::Active, QPalette::Button); // button face
    case 16: return palette.color(QPalette::Active, QPalette::Dark);   // button shadow
    case 17: return palette.color(QPalette::Disabled, QPalette::Text); // grey text
    case 18: return palette.color(QPalette::Active, QPalette::ButtonText);
    case 20: return palette.color(QPalette::Active, QPalette::Light);       // button highlight
    case 23: return palette.color(QPalette::Active, QPalette::ToolTipText); // info text
    case 24: return palette.color(QPalette::Active, QPalette::ToolTipBase); // info background
    default: return palette.color(QPalette::Active, QPalette::Window);
    }
}
} // namespace

QColor ColorFromWin(quint32 windowsColour)
{
    if (windowsColour == wincolor::clNone)
        return {};
    const quint32 kind = windowsColour & 0xFF000000u;
    if (kind == 0xFF000000u || kind == 0x80000000u) {
        // Plain RGB, so that it compares equal to a pixel read back.
        return QColor(SystemColour(windowsColour & 0xFFu).rgba());
    }
    return QColor(int(windowsColour & 0xFFu), int((windowsColour >> 8) & 0xFFu), int((windowsColour >> 16) & 0xFFu));
}
