#include "CatalogGridModel.h"

#include "NumberFormat.h"
#include "ProbeCatalog.h"

CatalogGridModel::CatalogGridModel(char decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent), m_separator(decimalSeparator)
{
}

void CatalogGridModel::SetCatalog(zevko::ProbeCatalog* catalog)
{
    beginResetModel();
    m_catalog = catalog;
    endResetModel();
}

void CatalogGridModel::Refresh()
{
    beginResetModel();
    endResetModel();
}

int CatalogGridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || m_catalog == nullptr)
        return 0;
    return static_cast<int>(m_catalog->Count());
}

int CatalogGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString CatalogGridModel::CellText(int column, double value) const
{
    const int decimals = column == ColumnMm ? 4 : 5;
    return QString::fromStdString(zevko::FormatFixedDecimals(value, decimals, m_separator));
}

QVariant CatalogGridModel::data(const QModelIndex& index, int role) const
{
    if (m_catalog == nullptr || !index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const zevko::CatalogEntry& entry = m_catalog->Entries()[static_cast<std::size_t>(index.row())];
    const double value = index.column() == ColumnMm ? entry.DIAMm : entry.DIAMi;
    if (role == Qt::EditRole)
        return value;
    return CellText(index.column(), value);
}

QVariant CatalogGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case ColumnMm:
        return QStringLiteral("mm");
    case ColumnIn:
        return QStringLiteral("in");
    default:
        return {};
    }
}

Qt::ItemFlags CatalogGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}
