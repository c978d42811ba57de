#pragma once

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QString>

class QLabel;

// The about window: the program's picture without a frame, shaped to the
// picture's outline, with the title, the maker's rights and contact details
// written over it. It is created for each showing, shown modally and closed
// by a click on the picture or a label, or by Escape.
class TfrmSplash : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSplash(QWidget* parent = nullptr);
    ~TfrmSplash() override;

    // The picture's resource path.
    static QString PictureFile();
    // The window's outline: exactly the pixels of `picture` that are not pure
    // yellow (255, 255, 0), in the picture's coordinates.
    static QRegion ShapeRegion(const QImage& picture);

    // The title line: the suite's when the program's main window is open
    // (which it always is when the Info command shows this window), else the
    // module's own.
    static QString SuiteTitle() { return QStringLiteral("Zevko Thread and Guages 4.1"); }
    static QString ModuleTitle() { return QStringLiteral("Zevko Thread - PD 1.1"); }
    // The maker's two rights lines under the title, and the four contact
    // lines (address; telephone and fax; e-mail; web).
    static QString RightsLines();
    static QString ContactLines();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    friend class SplashTester;

    void FormCreate();
    void FormShow();
    void FormClick();

    // The picture as painted; the outline is built from the same pixels.
    QPixmap Bitmap;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
};
