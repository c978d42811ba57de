// A window with one cut result label, for driving with a real pointer under
// an X server: it prints where the label is, then answers each "report" line
// on standard input with how often the label saw the pointer come and go and
// how often its hint window was shown and hidden, and "quit" ends it.

#include <QApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QTextStream>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <iostream>
#include <string>

#include "LabelHint.h"
#include "XLabel.h"

namespace {

struct Counts {
    int enters = 0;
    int leaves = 0;
    int shows = 0;
    int hides = 0;
};

// Counts the hint window's show and hide events, whichever label owns it.
class HintWatcher : public QObject {
public:
    explicit HintWatcher(Counts& counts) : m_counts(counts) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (qobject_cast<TLabelHint*>(watched) != nullptr) {
            if (event->type() == QEvent::Show)
                ++m_counts.shows;
            else if (event->type() == QEvent::Hide)
                ++m_counts.hides;
        }
        return false;
    }

private:
    Counts& m_counts;
};

double CpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Counts counts;
    HintWatcher watcher(counts);
    app.installEventFilter(&watcher);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Label hint probe"));
    window.resize(300, 100);
    auto* label = new TXLabel(&window);
    label->setGeometry(20, 30, 105, 17);
    label->SetAlignment(taRightJustify);
    label->SetBevel(lbLowered);
    label->SetHintShow(true);
    label->SetCaption(QStringLiteral("8.1656588E15 12345678.90123"));
    QObject::connect(label, &TXLabel::OnMouseEnter, [&counts] { ++counts.enters; });
    QObject::connect(label, &TXLabel::OnMouseLeave, [&counts] { ++counts.leaves; });
    window.show();

    bool announced = false;
    const auto announce = [&] {
        if (announced || !window.isVisible())
            return;
        announced = true;
        const QPoint topLeft = label->mapToGlobal(QPoint(0, 0));
        std::printf("label %d %d %d %d\n", topLeft.x(), topLeft.y(), label->width(), label->height());
        std::fflush(stdout);
    };

    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        std::string line;
        if (!std::getline(std::cin, line) || line == "quit") {
            QApplication::quit();
            return;
        }
        if (line == "where") {
            announce();
        } else if (line == "report") {
            std::printf("enters %d leaves %d shows %d hides %d visible %d cpu_ms %.0f\n", counts.enters, counts.leaves,
                        counts.shows, counts.hides, label->HintVisible() ? 1 : 0, CpuMilliseconds());
            std::fflush(stdout);
        }
    });
    return QApplication::exec();
}
