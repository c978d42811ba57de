#include "RtfTextDocument.h"

#include "RtfReader.h"

#include <QByteArray>
#include <QList>
#include <QTextOption>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <vector>

namespace {

// Twips are 1/1440 inch; the document measures in pixels at the 96 dpi that
// font point sizes are laid out with.
qreal TwipsToPixels(int twips)
{
    return twips / 15.0;
}

Qt::Alignment ToQt(zevko::RtfAlignment alignment)
{
    switch (alignment) {
    case zevko::RtfAlignment::Center: return Qt::AlignHCenter;
    case zevko::RtfAlignment::Right: return Qt::AlignRight | Qt::AlignAbsolute;
    case zevko::RtfAlignment::Justify: return Qt::AlignJustify;
    case zevko::RtfAlignment::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignAbsolute;
}

QTextOption::TabType ToQt(zevko::RtfTabKind kind)
{
    switch (kind) {
    case zevko::RtfTabKind::Center: return QTextOption::CenterTab;
    case zevko::RtfTabKind::Right: return QTextOption::RightTab;
    case zevko::RtfTabKind::Decimal: return QTextOption::DelimiterTab;
    case zevko::RtfTabKind::Left: break;
    }
    return QTextOption::LeftTab;
}

// RTF measures tab stops from the left edge of the text area, Qt from where
// the first line starts (left margin plus first-line indent). A hanging
// indent is itself a tab stop, as word processors treat it, so that the text
// after a list's number or bullet lines up with the lines below.
QList<QTextOption::Tab> TabPositions(const zevko::RtfParagraphFormat& p)
{
    const int firstLineStart = p.LeftIndent + p.FirstLineIndent;
    std::vector<zevko::RtfTabStop> stops = p.TabStops;
    if (p.FirstLineIndent < 0 && std::none_of(stops.begin(), stops.end(),
                                              [&](const zevko::RtfTabStop& s) { return s.Position == p.LeftIndent; }))
        stops.push_back(zevko::RtfTabStop{p.LeftIndent, zevko::RtfTabKind::Left});
    std::sort(stops.begin(), stops.end(),
              [](const zevko::RtfTabStop& a, const zevko::RtfTabStop& b) { return a.Position < b.Position; });
    QList<QTextOption::Tab> tabs;
    for (const zevko::RtfTabStop& stop : stops) {
        if (stop.Position > firstLineStart)
            tabs.append(QTextOption::Tab(TwipsToPixels(stop.Position - firstLineStart), ToQt(stop.Kind),
                                         stop.Kind == zevko::RtfTabKind::Decimal ? QChar(u'.') : QChar()));
    }
    return tabs;
}

QTextBlockFormat ToQt(const zevko::RtfParagraphFormat& p)
{
    QTextBlockFormat format;
    format.setAlignment(ToQt(p.Alignment));
    format.setLeftMargin(TwipsToPixels(p.LeftIndent));
    format.setRightMargin(TwipsToPixels(p.RightIndent));
    format.setTextIndent(TwipsToPixels(p.FirstLineIndent));
    format.setTopMargin(TwipsToPixels(p.SpaceBefore));
    format.setBottomMargin(TwipsToPixels(p.SpaceAfter));
    format.setTabPositions(TabPositions(p));
    return format;
}

QTextCharFormat ToQt(const zevko::RtfCharFormat& c)
{
    QTextCharFormat format;
    format.setFontWeight(c.Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(c.Italic);
    format.setFontUnderline(c.Underline);
    format.setFontPointSize(c.FontSizeHalfPoints / 2.0);
    if (c.Color)
        format.setForeground(QColor(c.Color->Red, c.Color->Green, c.Color->Blue));
    if (!c.FontName.empty())
        format.setFontFamilies(QStringList{QString::fromStdString(c.FontName)});
    return format;
}

} // namespace

void LoadRtfIntoDocument(const QByteArray& rtf, QTextDocument* doc)
{
    const zevko::RtfDocument parsed =
        zevko::ReadRtf(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size())));

    // A read-only page needs no undo history of its own construction.
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    bool first = true;
    for (const zevko::RtfParagraph& paragraph : parsed.Paragraphs) {
        const QTextCharFormat mark = ToQt(paragraph.MarkFormat);
        if (first) {
            cursor.setBlockFormat(ToQt(paragraph.Format));
            cursor.setBlockCharFormat(mark);
            first = false;
        } else {
            cursor.insertBlock(ToQt(paragraph.Format), mark);
        }
        for (const zevko::RtfRun& run : paragraph.Runs)
            cursor.insertText(QString::fromStdString(run.Text), ToQt(run.Format));
    }
    cursor.endEditBlock();
    doc->setUndoRedoEnabled(undo);
}

bool LoadRtfResource(QTextEdit* edit, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        edit->clear();
        return false;
    }
    LoadRtfIntoDocument(file.readAll(), edit->document());
    edit->moveCursor(QTextCursor::Start);
    edit->ensureCursorVisible();
    return true;
}
