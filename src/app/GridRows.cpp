#include "GridRows.h"

#include <QGridLayout>
#include <QLayoutItem>
#include <QWidget>

#include <vector>

void InsertGridRows(QGridLayout* grid, int row, int count)
{
    struct Placed {
        QLayoutItem* Item;
        int Row, Column, RowSpan, ColumnSpan;
    };
    std::vector<Placed> moved;
    for (int index = grid->count() - 1; index >= 0; --index) {
        Placed placed{nullptr, 0, 0, 0, 0};
        grid->getItemPosition(index, &placed.Row, &placed.Column, &placed.RowSpan, &placed.ColumnSpan);
        if (placed.Row < row)
            continue;
        placed.Item = grid->takeAt(index);
        moved.push_back(placed);
    }
    // Taken from the end, put back from the start: the order of the items,
    // and with it the order of painting, stays as the form made it.
    for (auto it = moved.rbegin(); it != moved.rend(); ++it)
        grid->addItem(it->Item, it->Row + count, it->Column, it->RowSpan, it->ColumnSpan);
    // The stretch of a row goes with it.
    for (int r = grid->rowCount() - 1; r >= row + count; --r)
        grid->setRowStretch(r, grid->rowStretch(r - count));
    for (int r = row; r < row + count; ++r)
        grid->setRowStretch(r, 0);
}

int GridRowOf(const QGridLayout* grid, QWidget* widget)
{
    const int index = grid->indexOf(widget);
    if (index < 0)
        return -1;
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return row;
}
