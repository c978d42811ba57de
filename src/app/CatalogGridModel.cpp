#include "CatalogGridModel.h"

#include "LangsExt.h"
#include "MeasurementTypes.h"
#include "NumberFormat.h"
#include "ProbeCatalog.h"

#include <algorithm>
#include <cmath>
#include <limits>

CatalogGridModel::CatalogGridModel(char decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent), m_separator(decimalSeparator)
{
}

void CatalogGridModel::SetCatalog(zevko::ProbeCatalog* catalog)
{
    beginResetModel();
    m_catalog = catalog;
    m_rows = m_catalog ? static_cast<int>(m_catalog->Count()) : 0;
    m_typed = {};
    endResetModel();
}

void CatalogGridModel::Refresh()
{
    beginResetModel();
    m_rows = m_catalog ? static_cast<int>(m_catalog->Count()) : 0;
    endResetModel();
}

void CatalogGridModel::Sync()
{
    const int count = m_catalog ? static_cast<int>(m_catalog->Count()) : 0;
    if (count < m_rows) {
        beginRemoveRows(QModelIndex(), count, m_rows - 1);
        m_rows = count;
        endRemoveRows();
    } else if (count > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, count - 1);
        m_rows = count;
        endInsertRows();
    }
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, ColumnCount - 1));
}

void CatalogGridModel::AppendRow()
{
    if (m_catalog == nullptr)
        return;
    m_catalog->Append();
    m_typed = {};
    Sync();
}

void CatalogGridModel::BeginRowEdit(const QModelIndex& index)
{
    if (m_catalog == nullptr || !index.isValid() || static_cast<std::size_t>(index.row()) >= m_catalog->Count() ||
        m_catalog->State() != zevko::ProbeCatalog::EditState::Browsing)
        return;
    m_catalog->SetPosition(static_cast<std::size_t>(index.row()));
    m_catalog->BeginEdit();
}

int CatalogGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int CatalogGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

zevko::CatalogField CatalogGridModel::Field(int column)
{
    return column == ColumnMm ? zevko::CatalogField::DIAMm : zevko::CatalogField::DIAMi;
}

QString CatalogGridModel::CellText(int column, double value) const
{
    const int decimals = column == ColumnMm ? 4 : 5;
    return QString::fromStdString(zevko::FormatFixedDecimals(value, decimals, m_separator));
}

bool CatalogGridModel::IsUntypedNewCell(int row, int column) const
{
    return m_catalog->State() == zevko::ProbeCatalog::EditState::Inserting &&
           static_cast<std::size_t>(row) + 1 == m_catalog->Count() && !m_typed[static_cast<std::size_t>(column)];
}

QVariant CatalogGridModel::data(const QModelIndex& index, int role) const
{
    if (m_catalog == nullptr || !index.isValid() || index.row() >= m_rows ||
        static_cast<std::size_t>(index.row()) >= m_catalog->Count())
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const zevko::CatalogEntry& entry = m_catalog->Entries()[static_cast<std::size_t>(index.row())];
    const double value = index.column() == ColumnMm ? entry.DIAMm : entry.DIAMi;
    if (role == Qt::EditRole)
        return value;
    if (IsUntypedNewCell(index.row(), index.column()))
        return QString();
    return CellText(index.column(), value);
}

QString CatalogGridModel::EditText(const QModelIndex& index) const
{
    if (m_catalog == nullptr || !index.isValid() || static_cast<std::size_t>(index.row()) >= m_catalog->Count() ||
        IsUntypedNewCell(index.row(), index.column()))
        return QString();
    return QString::fromStdString(zevko::FormatGeneral(data(index, Qt::EditRole).toDouble(), m_separator));
}

bool CatalogGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (m_catalog == nullptr || role != Qt::EditRole || !index.isValid() || index.row() >= m_rows ||
        value.typeId() != QMetaType::Double)
        return false;
    const double number = value.toDouble();
    if (!std::isfinite(number))
        return false;
    const std::size_t row = static_cast<std::size_t>(index.row());
    if (row >= m_catalog->Count())
        return false;
    // The row typed into is the catalog's current row; the grid moves the
    // cursor there before it opens an editor, so this only settles a row
    // the cursor left in some other way.
    const std::size_t shown = std::min(m_catalog->Position(), m_catalog->Count() - 1);
    if (row != shown) {
        m_catalog->SetPosition(row);
        Sync();
        if (m_catalog->Position() >= m_catalog->Count())
            return false;
    }
    if (!m_catalog->SetField(Field(index.column()), number))
        return false;
    if (m_catalog->State() == zevko::ProbeCatalog::EditState::Inserting)
        m_typed[static_cast<std::size_t>(index.column())] = true;
    const int edited = static_cast<int>(m_catalog->Position());
    emit dataChanged(this->index(edited, 0), this->index(edited, ColumnCount - 1));
    return true;
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
    case ColumnMm: return QStringLiteral("mm");
    case ColumnIn: return QStringLiteral("in");
    default: return {};
    }
}

Qt::ItemFlags CatalogGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

CatalogGridModel::CellReading CatalogGridModel::ReadCellText(const QString& text, int column, char separator)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const auto refuse = [&] {
        // Text 1016 of the supplement; never empty, as it marks the refusal.
        const QString message =
            LanguageTextOr(1016, QStringLiteral("'%1' is not a valid floating point value for field '%2'"));
        return CellReading{std::nullopt,
                           message.arg(text, QString::fromLatin1(zevko::CatalogFieldName(Field(column))))};
    };
    // A lone sign is no number, although a numeric field reads it as 0.
    if (trimmed == QLatin1String("-") || trimmed == QLatin1String("+"))
        return refuse();
    const std::optional<long double> parsed = zevko::TryParseFieldValue(trimmed.toStdString(), separator);
    if (!parsed)
        return refuse();
    // The other unit is derived from this one when the row is stored: an inch
    // value must leave room for its millimetres.
    const long double limit =
        static_cast<long double>(std::numeric_limits<double>::max()) / (column == ColumnIn ? zevko::MmPerInch : 1.0L);
    if (!std::isfinite(*parsed) || std::fabs(*parsed) > limit)
        return refuse();
    return {static_cast<double>(*parsed), QString()};
}
