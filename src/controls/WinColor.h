#pragma once

#include <QColor>
#include <QtGlobal>

// Colours arrive as Windows colour values: 0x00BBGGRR (red in the low byte),
// or a system colour (0xFF0000nn, nn = the system colour index). This is the
// one place that turns them into QColor.

namespace wincolor {

inline constexpr quint32 clNone = 0x1FFFFFFFu; // "no colour"
inline constexpr quint32 clBlack = 0x00000000u;
inline constexpr quint32 clWhite = 0x00FFFFFFu;
inline constexpr quint32 clWindow = 0xFF000005u;
inline constexpr quint32 clWindowText = 0xFF000008u;
inline constexpr quint32 clBtnFace = 0xFF00000Fu;
inline constexpr quint32 clBtnShadow = 0xFF000010u;
inline constexpr quint32 clGrayText = 0xFF000011u;
inline constexpr quint32 clBtnText = 0xFF000012u;
inline constexpr quint32 clBtnHighlight = 0xFF000014u;
inline constexpr quint32 clInfoText = 0xFF000017u;
inline constexpr quint32 clInfoBk = 0xFF000018u;

} // namespace wincolor

// An invalid QColor for clNone. System colours come from the application
// palette (window -> Base, button face -> Button, button shadow -> Dark,
// button highlight -> Light, info -> ToolTip roles, ...).
QColor ColorFromWin(quint32 windowsColour);
