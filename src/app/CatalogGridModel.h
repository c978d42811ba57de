#pragma once

#include <QAbstractTableModel>

#include <array>
#include <optional>

namespace zevko {
class ProbeCatalog;
enum class CatalogField;
} // namespace zevko

// Presents one probe catalog to the grid: one row per entry, the columns
// "mm" (DIAMm, four decimals) and "in" (DIAMi, five decimals), centred, and
// lets the user type into the cells.
//
// The catalog stays the owner of the data and of its editing state: a cell
// typed into goes into the catalog's row being edited (SetField), and the
// window decides when that row is stored or abandoned. After the catalog was
// changed from outside, Sync() brings the rows in line (rows added or taken
// away at the end, every cell redrawn); Refresh() starts the grid afresh.
class CatalogGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColumnMm = 0, ColumnIn = 1, ColumnCount = 2 };

    explicit CatalogGridModel(char decimalSeparator, QObject* parent = nullptr);

    // The catalog shown; nullptr shows nothing.
    void SetCatalog(zevko::ProbeCatalog* catalog);
    zevko::ProbeCatalog* Catalog() const { return m_catalog; }
    void Refresh();
    void Sync();

    // New: appends an empty row to the catalog (a row still being edited is
    // settled by the catalog first; the window settles it before, with its
    // own steps). Its cells stay blank until typed into.
    void AppendRow();

    // Typing into a cell of a stored entry starts editing that entry (it is
    // stored or abandoned when the row is left, and Escape undoes it).
    void BeginRowEdit(const QModelIndex& index);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Takes a number (double) for a cell; the row becomes the catalog's row
    // being edited. False for anything else or a value that is not finite.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The text a cell shows for a value.
    QString CellText(int column, double value) const;
    // The text an editor opens with: the value in full (15 significant
    // digits), blank for a cell of a new row not typed into yet.
    QString EditText(const QModelIndex& index) const;

    static zevko::CatalogField Field(int column);
    char DecimalSeparator() const { return m_separator; }

    // Reading a typed cell text: the program's decimal separator, the point
    // and the comma all read as the decimal mark, blanks around and an
    // exponent are accepted. The value, nothing for a blank text (the cell is
    // left as it was), or the message that refuses the text:
    // "'%s' is not a valid floating point value for field '%s'".
    struct CellReading {
        std::optional<double> Value;
        QString Refusal;
    };
    static CellReading ReadCellText(const QString& text, int column, char separator);

private:
    bool IsUntypedNewCell(int row, int column) const;

    zevko::ProbeCatalog* m_catalog = nullptr;
    char m_separator;
    // Rows as the view knows them, so that rows the catalog added or took
    // away can be announced after the fact.
    int m_rows = 0;
    // Which cells of a new row have been typed into.
    std::array<bool, ColumnCount> m_typed{};
};
