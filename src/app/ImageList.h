#pragma once

#include <QIcon>

// The window's numbered toolbar images: 1 New, 2 Copy, 3 Delete,
// 4 Calculation, 5 Exit, 8 Select, 9 Bulgarian, 10 German, 11 English,
// 12 Info, 13 millimetres, 14 inches, 15 Copy budget. They are vector drawings, so the icons
// stay crisp at 22 x 22 and on high-DPI screens.
class ImageList {
public:
    // The image of that number; an empty icon for an unused number or a
    // drawing that is not there.
    QIcon Image(int index) const;
    // The resource path of that number's drawing; empty for an unused number.
    static QString FileName(int index);
};
