#pragma once

// Runs the batch calculator on a text and reads its output back with the
// program's own CSV reader, so cells are found by their column name.

#include "BatchCalculator.h"
#include "CsvReader.h"

#include <QString>
#include <QStringList>

#include <sstream>
#include <string>
#include <vector>

namespace batchrun {

struct BatchRun {
    int Exit = -1;
    QStringList Header;
    std::vector<QStringList> Rows; // the data rows, without the header
    QString Out;
    QString Err;

    // The cell of a data row (0 is the first after the header) in the named
    // output column; a column the output lacks reads as "<no column>".
    QString Cell(std::size_t row, const QString& column) const
    {
        const qsizetype at = Header.indexOf(column);
        if (at < 0 || row >= Rows.size() || at >= Rows[row].size()) {
            return QStringLiteral("<no column>");
        }
        return Rows[row][at];
    }
};

inline BatchRun RunBatch(const QString& input, const QStringList& arguments = {})
{
    std::vector<std::string> storage{"zevko-pd-calc"};
    for (const QString& argument : arguments) {
        storage.push_back(argument.toStdString());
    }
    std::vector<const char*> argv;
    for (const std::string& argument : storage) {
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);
    std::istringstream in(input.toStdString());
    std::ostringstream out;
    std::ostringstream err;
    BatchRun run;
    run.Exit = zevko::cli::RunBatchCalculator(static_cast<int>(storage.size()), argv.data(), in, out, err);
    run.Out = QString::fromStdString(out.str());
    run.Err = QString::fromStdString(err.str());

    std::istringstream back(out.str());
    zevko::cli::CsvReader reader(back);
    zevko::cli::CsvRecord record;
    bool first = true;
    while (reader.ReadRecord(record)) {
        QStringList fields;
        for (std::size_t i = 0; i < record.Count; ++i) {
            fields << QString::fromStdString(record.Fields[i]);
        }
        if (first) {
            run.Header = fields;
            first = false;
        } else {
            run.Rows.push_back(fields);
        }
    }
    return run;
}

// A CSV text written with ',' and '.' turned into ';' and ',' (the
// semicolon files of a decimal-comma locale).
inline QString AsSemicolonFile(QString text)
{
    return text.replace(',', ';').replace('.', ',');
}

} // namespace batchrun
