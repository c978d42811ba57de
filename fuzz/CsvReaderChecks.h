#pragma once

// The CSV reader on arbitrary input: it ends, numbers its records in order,
// keeps every record within its bounds, and the records it reads, written with the CSV writer and read again, come
// back field for field.

#include "CsvReader.h"
#include "CsvWriter.h"
#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace zevko::fuzz {
namespace csv_reader {

using zevko::cli::CsvReader;
using zevko::cli::CsvRecord;
using zevko::cli::CsvWriter;

struct Reading {
    std::vector<std::vector<std::string>> Records;
    char Delimiter = ',';
};

inline Reading ReadAll(const std::string& text)
{
    std::istringstream in(text);
    CsvReader reader(in);
    Reading reading;
    CsvRecord record;
    long lastLine = 0;
    while (reader.ReadRecord(record)) {
        FUZZ_CHECK(record.Count >= 1 && record.Count <= record.Fields.size(), "a record has at least one field");
        FUZZ_CHECK(record.Line > lastLine, "records are numbered by their first line, in order");
        FUZZ_CHECK(record.Count <= CsvReader::MaxRecordFields, "a record has at most the bounded number of fields");
        std::size_t bytes = 0;
        for (std::size_t i = 0; i < record.Count; ++i)
            bytes += record.Fields[i].size();
        FUZZ_CHECK(bytes <= CsvReader::MaxRecordBytes, "a record holds at most the bounded number of bytes");
        lastLine = record.Line;
        reading.Records.emplace_back(record.Fields.begin(),
                                     record.Fields.begin() + static_cast<std::ptrdiff_t>(record.Count));
    }
    FUZZ_CHECK(!reader.ReadFailed(), "a string stream never fails");
    reading.Delimiter = reader.Delimiter();
    FUZZ_CHECK(reading.Delimiter == ',' || reading.Delimiter == ';' || reading.Delimiter == '\t',
               "the delimiter is one of the three");
    return reading;
}

using Records = std::vector<std::vector<std::string>>;

inline Records Normalized(Records records)
{
    for (auto& fields : records)
        for (std::string& field : fields)
            field = zevko::fuzz::CrLfAsLf(field);
    return records;
}

inline void CheckCsvReader(std::string_view input)
{
    const Reading first = ReadAll(std::string(input));

    std::ostringstream out;
    CsvWriter writer(out, first.Delimiter);
    std::vector<std::vector<std::string>> written;
    for (const auto& fields : first.Records) {
        // A record of empty fields only is written as a line of nothing but
        // blanks (one field, or tabs between them), which the reader skips by
        // design. Without the first record the delimiter would have to be
        // detected from another one: such inputs end the check here.
        bool allEmpty = true;
        for (const std::string& field : fields)
            allEmpty = allEmpty && field.empty();
        if (allEmpty && (fields.size() == 1 || first.Delimiter == '\t')) {
            if (written.empty())
                return;
            continue;
        }
        for (const std::string& field : fields)
            writer.Field(field);
        writer.EndRecord();
        written.push_back(fields);
    }
    FUZZ_CHECK(!writer.WriteFailed(), "a string stream never fails");

    const Reading second = ReadAll(out.str());
    FUZZ_CHECK(Normalized(second.Records) == Normalized(written), "written records read back field for field");
    FUZZ_CHECK(written.empty() || second.Delimiter == first.Delimiter, "the written delimiter is detected again");
}

} // namespace csv_reader

using csv_reader::CheckCsvReader;

} // namespace zevko::fuzz
