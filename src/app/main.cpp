#include <QApplication>
#include <QIcon>
#include <QLocale>

#include "CatalogLocation.h"
#include "ImageList.h"
#include "LangsExt.h"
#include "SrDiam.h"
#include "ZStdCtrls.h"

#include <optional>

// zevko-pd: the window program. It takes no arguments of its own (Qt's
// platform options aside) and ends when its window closes.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(TfrmSrDiam::ApplicationTitle());

    // One decimal separator for the whole program, from the system locale.
    SetZDecimalSeparator(QLocale::system().decimalPoint() == QLatin1String(",") ? ',' : '.');

    // The language tables outlive the window; they are read once the frame
    // is on screen.
    std::optional<LangsExtScope> languages;

    // The window's frame goes on screen at once and is filled right after:
    // a frame needs no fonts, the first laid-out text field loads them.
    TfrmSrDiam window(nullptr, TfrmSrDiam::Construction::FrameFirst);
    window.show();
    // The frame reaches the window system before the content is built.
    QGuiApplication::sync();

    languages.emplace();
    // An installed program's first start copies the catalog for the user.
    PrepareCatalogFile();
    window.CompleteConstruction();

    // The program's icon once the window is on screen: the window system
    // takes it in several sizes, each rendered from the drawing, and the
    // window need not wait for that.
    QApplication::setWindowIcon(ImageList::Drawing(QStringLiteral(":/images/zevko-pd.svg")));
    return QApplication::exec();
}
