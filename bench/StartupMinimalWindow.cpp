// The floor the program's start-up is measured against: the smallest Qt
// Widgets program with a window of the main window's size, a QLabel, built
// with the same build type and flags as the program.
//
//   StartupMinimalWindow [WIDTH HEIGHT]      (default 903 x 624)
#include <QApplication>
#include <QLabel>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int width = argc > 2 ? std::atoi(argv[1]) : 903;
    const int height = argc > 2 ? std::atoi(argv[2]) : 624;
    QLabel label(QStringLiteral("Zevko Thread - PD"));
    label.setWindowTitle(QStringLiteral("Startup minimal window"));
    label.resize(width > 0 ? width : 903, height > 0 ? height : 624);
    label.show();
    return QApplication::exec();
}
