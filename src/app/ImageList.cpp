#include "ImageList.h"

#include <QFile>

#include <array>

namespace {

struct NumberedImage {
    int Index;
    const char* File;
};

constexpr std::array<NumberedImage, 13> Images{{
    {1, "img01-new.svg"},
    {2, "img02-copy.svg"},
    {3, "img03-delete.svg"},
    {4, "img04-calculation.svg"},
    {5, "img05-exit.svg"},
    {8, "img08-select.svg"},
    {9, "img09-bulgarian.svg"},
    {10, "img10-german.svg"},
    {11, "img11-english.svg"},
    {12, "img12-info.svg"},
    {13, "img13-millimetres.svg"},
    {14, "img14-inches.svg"},
    {15, "img15-copy-budget.svg"},
}};

} // namespace

QString ImageList::FileName(int index)
{
    for (const auto& image : Images) {
        if (image.Index == index)
            return QStringLiteral(":/images/") + QLatin1String(image.File);
    }
    return {};
}

QIcon ImageList::Image(int index) const
{
    const QString file = FileName(index);
    if (file.isEmpty() || !QFile::exists(file))
        return {};
    return QIcon(file);
}
