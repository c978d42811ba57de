#pragma once

// The batch calculator on arbitrary CSV input: it ends with one of its three
// exit codes, its output is CSV its own reader reads back, every input record
// reappears there field for field, and a row marked "ok" carries five finite
// numbers in the chosen separator. The optional groups of output columns
// (d2_basic with a thread column, the budget, the limits) come in their
// order and hold numbers, or a known verdict, only where a row allows them.
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
#include <initializer_list>
#include <optional>
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
    if (outputRecords.empty())
        return;

    // The appended header names tell which groups the output has; positions
    // below count from the end of each record's own input fields (an invalid
    // row may have more or fewer than the header).
    const std::vector<std::string>& header = outputRecords[0].Fields;
    const std::size_t inputCount = inputRecords[0].Fields.size();
    FUZZ_CHECK(header.size() >= inputCount + 6 && header[inputCount + 5] == "status", "the results end in status");
    std::size_t next = 6;
    const auto group = [&](std::initializer_list<const char*> names) -> std::optional<std::size_t> {
        if (inputCount + next + names.size() > header.size() || header[inputCount + next] != *names.begin())
            return std::nullopt;
        const std::size_t start = next;
        for (const char* name : names)
            FUZZ_CHECK(header[inputCount + next++] == name, "an output group has its columns in order");
        return start;
    };
    const auto basicAt = group({"d2_basic"});
    const auto budgetAt = group({"c_X", "c_dD", "c_P", "c_beta", "c_gamma", "c_F", "u_c", "U"});
    const auto limitsAt = group({"M_min", "M_max", "verdict"});
    FUZZ_CHECK(inputCount + next == header.size(), "nothing follows the known output groups");

    const auto finiteNumber = [&](const std::string& field) {
        const auto value = zevko::ParseDecimalText(field, separator);
        return value && std::isfinite(*value);
    };
    for (std::size_t r = 0; r < outputRecords.size(); ++r) {
        const std::vector<std::string>& original = inputRecords[r].Fields;
        const std::vector<std::string>& all = outputRecords[r].Fields;
        FUZZ_CHECK(all.size() == original.size() + next, "the result fields are appended to every record");
        for (std::size_t i = 0; i < original.size(); ++i)
            FUZZ_CHECK(zevko::fuzz::CrLfAsLf(all[i]) == zevko::fuzz::CrLfAsLf(original[i]),
                       "the input fields are repeated as read");
        FUZZ_CHECK(outputRecords[r].Error.empty(), "the output's quoting is sound");
        if (r == 0)
            continue;
        const std::string* const fields = all.data() + original.size(); // the appended ones
        const std::string& status = fields[5];
        const bool ok = status == "ok";
        if (!ok) {
            FUZZ_CHECK(status == "implausible" || status == "failed" || status.starts_with("invalid: "),
                       "a row has a known status");
            for (std::size_t i = 0; i < 5; ++i)
                FUZZ_CHECK(fields[i].empty(), "a row that is not ok has no results");
        } else {
            for (std::size_t i = 0; i < 5; ++i)
                FUZZ_CHECK(finiteNumber(fields[i]), "an ok row has five finite numbers");
        }
        if (basicAt) {
            const std::string& basic = fields[*basicAt];
            FUZZ_CHECK(basic.empty() || !status.starts_with("invalid: "), "an invalid row has no basic pitch diameter");
            const auto value = zevko::ParseDecimalText(basic, separator);
            FUZZ_CHECK(basic.empty() || (value && std::isfinite(*value) && *value > 0.0L),
                       "a basic pitch diameter is a positive number");
        }
        if (budgetAt) {
            bool allEmpty = true;
            bool anyEmpty = false;
            for (std::size_t i = *budgetAt; i < *budgetAt + 8; ++i) {
                allEmpty = allEmpty && fields[i].empty();
                anyEmpty = anyEmpty || fields[i].empty();
            }
            FUZZ_CHECK(allEmpty || !anyEmpty, "a budget is given whole or not at all");
            FUZZ_CHECK(allEmpty || ok, "only an ok row has a budget");
            for (std::size_t i = *budgetAt; !allEmpty && i < *budgetAt + 8; ++i)
                FUZZ_CHECK(finiteNumber(fields[i]), "a budget holds finite numbers");
        }
        if (limitsAt) {
            const std::string& verdict = fields[*limitsAt + 2];
            FUZZ_CHECK(verdict.empty() || verdict == "conforms" || verdict == "does not conform" ||
                           verdict == "not decided",
                       "a verdict is one of three");
            for (std::size_t i = *limitsAt; i < *limitsAt + 3; ++i)
                FUZZ_CHECK(fields[i].empty() || ok, "only an ok row has M at its limits and a verdict");
            for (std::size_t i = *limitsAt; i < *limitsAt + 2; ++i)
                FUZZ_CHECK(fields[i].empty() || finiteNumber(fields[i]), "M at a limit is a finite number");
        }
    }
}

} // namespace batch_csv

using batch_csv::CheckBatchCsv;

} // namespace zevko::fuzz
