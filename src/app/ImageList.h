#pragma once

#include <QIcon>

// The window's numbered toolbar images: 1 New, 2 Copy, 3 Delete,
// 4 Calculation, 5 Exit, 8 Select, 9 Bulgarian, 10 German, 11 English,
// 12 Info, 13 millimetres, 14 inches, 15 Copy budget. They are vector drawings, so the icons
// stay crisp at 22 x 22 and on high-DPI screens.
class ImageList {
public:
    // The image of that number; an empty icon for an unused number or a
    // drawing that is not there. The drawing is read and rendered only when
    // the icon is first drawn, at the size it is drawn at, so that building
    // the window's toolbars costs nothing before the window is on screen.
    QIcon Image(int index) const;
    // The resource path of that number's drawing; empty for an unused number.
    static QString FileName(int index);
    // An icon of any SVG drawing, read and rendered in the same way on first
    // need; an empty icon when the file is not there.
    static QIcon Drawing(const QString& fileName);
};
