// The floor the program's start-up is measured against: the smallest Qt
// Widgets program with a window of the main window's size (689 x 440), a
// QLabel, built with the same build type and flags as the program.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Zevko Thread - PD"));
    label.setWindowTitle(QStringLiteral("Startup minimal window"));
    label.resize(689, 440);
    label.show();
    return QApplication::exec();
}
