#include "ZStdCtrls.h"

#include <QLocale>

namespace {
char g_decimalSeparator = 0; // 0: not yet taken from the system
}

char ZDecimalSeparator()
{
    if (g_decimalSeparator == 0)
        g_decimalSeparator = QLocale::system().decimalPoint() == QStringLiteral(",") ? ',' : '.';
    return g_decimalSeparator;
}

void SetZDecimalSeparator(char separator)
{
    g_decimalSeparator = separator == ',' ? ',' : '.';
}
