#pragma once

#include <QAbstractTableModel>

namespace zevko {
class ProbeCatalog;
}

// Presents one probe catalog to the grid: one row per entry, the columns
// "mm" (DIAMm, four decimals) and "in" (DIAMi, five decimals), centred.
// The catalog stays the owner of the data; after changing it from outside,
// call Refresh().
class CatalogGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColumnMm = 0, ColumnIn = 1, ColumnCount = 2 };

    explicit CatalogGridModel(char decimalSeparator, QObject* parent = nullptr);

    // The catalog shown; nullptr shows nothing.
    void SetCatalog(zevko::ProbeCatalog* catalog);
    zevko::ProbeCatalog* Catalog() const { return m_catalog; }
    void Refresh();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The text a cell shows for a value.
    QString CellText(int column, double value) const;

private:
    zevko::ProbeCatalog* m_catalog = nullptr;
    char m_separator;
};
