#pragma once

// The batch calculator on arbitrary CSV input: it ends with one of its three
// exit codes, its output is CSV its own reader reads back, every input record
// reappears there field for field, and a row marked "ok" carries five finite
// numbers in the chosen separator.
//
// The first input byte picks the options: bit 0 inches, bit 1 the decimal
// comma. The rest is the input file.

#include "BatchCalculator.h"
#include "CsvReader.h"
#include "FuzzCheck.h"
#include "NumberFormat.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace zevko::fuzz {
namespace batch_csv {

using zevko::cli::CsvReader;
using zevko::cli::CsvRecord;

inline std::vector<CsvRecord> ReadAll(const std::string& text)
{
    std::istringstream in(text);
    CsvReader reader(in);
    std::vector<CsvRecord> records;
    CsvRecord record;
    while (reader.ReadRecord(record)) {
        record.Fields.resize(record.Count);
        records.push_back(record);
    }
    FUZZ_CHECK(!reader.ReadFailed(), "a string stream never fails");
    return records;
}

// The first byte of `input` picks the options, the rest is the file.
inline void CheckBatchCsv(std::string_view input)
{
    if (input.empty())
        return;
    const auto options = static_cast<unsigned char>(input[0]);
    const bool inches = (options & 1u) != 0;
    const char separator = (options & 2u) != 0 ? ',' : '.';
    const std::string file(input.substr(1));

    const char* const argv[] = {
        "zevko-pd-calc", "--units", inches ? "in" : "mm", "--separator", separator == ',' ? "," : ".", nullptr};
    std::istringstream in(file);
    std::ostringstream out;
    std::ostringstream err;
    const int exitCode = zevko::cli::RunBatchCalculator(5, argv, in, out, err);
    FUZZ_CHECK(exitCode == 0 || exitCode == 1 || exitCode == 2, "one of the documented exit codes");
    if (exitCode == 2) {
        FUZZ_CHECK(!err.str().empty(), "a refused input is explained");
        return;
    }
    FUZZ_CHECK((exitCode == 1) == !err.str().empty(), "invalid rows, and only they, are reported");

    const std::vector<CsvRecord> inputRecords = ReadAll(file);
    const std::vector<CsvRecord> outputRecords = ReadAll(out.str());
    FUZZ_CHECK(outputRecords.size() == inputRecords.size(), "one output record per input record");
    // A header with any budget column gets eight more columns, ending in U.
    const bool budget = !outputRecords.empty() &&
                        outputRecords[0].Fields.size() == inputRecords[0].Fields.size() + 14 &&
                        outputRecords[0].Fields.back() == "U";
    for (std::size_t r = 0; r < outputRecords.size(); ++r) {
        std::vector<std::string> fields = outputRecords[r].Fields;
        const std::vector<std::string>& original = inputRecords[r].Fields;
        FUZZ_CHECK(fields.size() == original.size() + (budget ? 14 : 6),
                   "the result fields are appended to every record");
        std::vector<std::string> budgetFields;
        if (budget) {
            budgetFields.assign(fields.end() - 8, fields.end());
            fields.resize(fields.size() - 8);
            if (r > 0) {
                bool allEmpty = true;
                bool anyEmpty = false;
                for (const std::string& field : budgetFields) {
                    allEmpty = allEmpty && field.empty();
                    anyEmpty = anyEmpty || field.empty();
                }
                FUZZ_CHECK(allEmpty || !anyEmpty, "a budget is given whole or not at all");
                FUZZ_CHECK(allEmpty || fields.back() == "ok", "only an ok row has a budget");
                for (const std::string& field : allEmpty ? std::vector<std::string>{} : budgetFields) {
                    const auto value = zevko::ParseDecimalText(field, separator);
                    FUZZ_CHECK(value && std::isfinite(*value), "a budget holds finite numbers");
                }
            }
        }
        for (std::size_t i = 0; i < original.size(); ++i)
            FUZZ_CHECK(zevko::fuzz::CrLfAsLf(fields[i]) == zevko::fuzz::CrLfAsLf(original[i]),
                       "the input fields are repeated as read");
        FUZZ_CHECK(outputRecords[r].Error.empty(), "the output's quoting is sound");
        if (r == 0)
            continue;
        const std::string& status = fields.back();
        if (status != "ok") {
            FUZZ_CHECK(status == "implausible" || status == "failed" || status.starts_with("invalid: "),
                       "a row has a known status");
            for (std::size_t i = fields.size() - 6; i + 1 < fields.size(); ++i)
                FUZZ_CHECK(fields[i].empty(), "a row that is not ok has no results");
            continue;
        }
        for (std::size_t i = fields.size() - 6; i + 1 < fields.size(); ++i) {
            const auto value = zevko::ParseDecimalText(fields[i], separator);
            FUZZ_CHECK(value && std::isfinite(*value), "an ok row has five finite numbers");
        }
    }
}

} // namespace batch_csv

using batch_csv::CheckBatchCsv;

} // namespace zevko::fuzz
