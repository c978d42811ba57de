#pragma once

class QGridLayout;
class QWidget;

// Room for new rows in a grid laid out by the form: every item from `row`
// on moves down by `count` rows, keeping its column and its spans.
void InsertGridRows(QGridLayout* grid, int row, int count);

// The row of a widget in the grid, -1 when the grid does not hold it.
int GridRowOf(const QGridLayout* grid, QWidget* widget);
