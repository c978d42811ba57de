#include <QApplication>
#include <QIcon>
#include <QLocale>

#include "CatalogLocation.h"
#include "ImageList.h"
#include "LangsExt.h"
#include "SrDiam.h"
#include "ZStdCtrls.h"

// zevko-pd: the window program. It takes no arguments of its own (Qt's
// platform options aside) and ends when its window closes.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(TfrmSrDiam::ApplicationTitle());

    // One decimal separator for the whole program, from the system locale.
    SetZDecimalSeparator(QLocale::system().decimalPoint() == QLatin1String(",") ? ',' : '.');

    // The language tables are ready before the window exists, and released
    // after it is gone.
    const LangsExtScope languages;

    // An installed program's first start copies the catalog for the user.
    PrepareCatalogFile();

    TfrmSrDiam window;
    window.show();
    // The program's icon once the window is on screen: the window system
    // takes it in several sizes, each rendered from the drawing, and the
    // window need not wait for that.
    QApplication::setWindowIcon(ImageList::Drawing(QStringLiteral(":/images/zevko-pd.svg")));
    return QApplication::exec();
}
