#include "BatchCalculator.h"

#include "BatchBudget.h"
#include "BatchColumns.h"
#include "BatchLimits.h"
#include "BatchRow.h"
#include "BatchThread.h"
#include "Calculation.h"
#include "CommandLine.h"
#include "CsvReader.h"
#include "CsvWriter.h"
#include "ResultTexts.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <string>

namespace zevko::cli {
namespace {

constexpr const char* ProgramName = "zevko-pd-calc";
constexpr int ExitAllRead = 0;
constexpr int ExitInvalidRow = 1;
constexpr int ExitBadInput = 2;

constexpr const char* BasicPitchDiameterColumn = "d2_basic";

constexpr std::array<const char*, 6> AppendedColumns = {"lead",      "optimum",    "diameter",
                                                        "indicated", "correction", "status"};

struct RowOutcome {
    std::array<std::string, ResultTextCount> Texts; // lead, optimum, diameter, indicated, correction
    std::string Status;
    std::string DiameterMmText; // ok: the pitch diameter in mm, whatever the row shows
};

// The five texts as the window's result labels would show them.
RowOutcome Evaluate(const MeasurementInputs& inputs, const BatchOptions& options)
{
    RowOutcome outcome;
    const CalculationResult result = Calculate(inputs, true, MeasurementResults{}, options.Separator);
    switch (result.Outcome) {
    case CalculationOutcome::Implausible: outcome.Status = "implausible"; return outcome;
    case CalculationOutcome::Failed: outcome.Status = "failed"; return outcome;
    case CalculationOutcome::Ok: break;
    }
    const auto texts = ResultTextsInUnit(result.Results, options.Units, options.Separator);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!texts[i]) {
            return RowOutcome{{}, "failed", {}};
        }
        outcome.Texts[i] = *texts[i];
    }
    outcome.DiameterMmText = result.Results.DiameterText;
    outcome.Status = "ok";
    return outcome;
}

class Batch {
public:
    Batch(std::istream& in, std::ostream& out, std::ostream& err, const BatchOptions& options)
        : reader_(in), out_(out), err_(err), options_(options)
    {
    }

    int Run()
    {
        CsvRecord record;
        if (!reader_.ReadRecord(record)) {
            if (reader_.NotText()) {
                return FailNotText();
            }
            return Fail(reader_.ReadFailed() ? "the input cannot be read" : "the input has no header row");
        }
        if (!record.Error.empty()) {
            return Fail("header row: " + record.Error);
        }
        const BatchColumnMap columns = MapBatchColumns(record.Fields, record.Count);
        if (!columns.Error.empty()) {
            return Fail(columns.Error);
        }
        const BudgetColumnMap budgetColumns = MapBudgetColumns(record.Fields, record.Count);
        if (!budgetColumns.Error.empty()) {
            return Fail(budgetColumns.Error);
        }
        const LimitsColumnMap limitsColumns = MapLimitsColumns(record.Fields, record.Count);
        if (!limitsColumns.Error.empty()) {
            return Fail(limitsColumns.Error);
        }
        const bool threadColumn = columns.Thread.has_value();
        CsvWriter writer(out_, reader_.Delimiter());
        WriteFields(writer, record);
        for (const char* name : AppendedColumns) {
            writer.Field(name);
        }
        if (threadColumn) {
            writer.Field(BasicPitchDiameterColumn);
        }
        if (budgetColumns.Any) {
            for (const char* name : BudgetOutputColumnNames()) {
                writer.Field(name);
            }
        }
        if (limitsColumns.Any) {
            for (const char* name : LimitsOutputColumnNames()) {
                writer.Field(name);
            }
        }
        writer.EndRecord();

        bool anyInvalid = false;
        while (reader_.ReadRecord(record)) {
            const BatchRowReading reading = ReadBatchRow(record, columns, options_.Separator);
            BudgetRowReading budget;
            if (reading.Error.empty() && budgetColumns.Any) {
                budget = ReadBudgetRow(record, budgetColumns, options_.Separator);
            }
            LimitsRowReading limits;
            if (reading.Error.empty() && budget.Error.empty() && limitsColumns.Any) {
                limits = ReadLimitsRow(record, limitsColumns, options_.Separator);
            }
            const std::string& error = !reading.Error.empty()  ? reading.Error
                                       : !budget.Error.empty() ? budget.Error
                                                               : limits.Error;
            RowOutcome outcome;
            std::string basicText;
            std::array<std::string, BudgetOutputColumnCount> budgetTexts;
            std::array<std::string, LimitsOutputColumnCount> limitsTexts;
            if (!error.empty()) {
                anyInvalid = true;
                outcome.Status = "invalid: " + error;
                err_ << ProgramName << ": line " << record.Line << ": " << error << '\n';
            } else {
                outcome = Evaluate(reading.Inputs, options_);
                // The basic pitch diameter belongs to the designation, whatever the calculation gives.
                if (reading.Thread) {
                    basicText = BasicPitchDiameterText(*reading.Thread, options_.Units, options_.Separator);
                }
                if (outcome.Status == "ok") {
                    if (budgetColumns.Any) {
                        budgetTexts = BudgetTexts(reading.Inputs, budget.Inputs, options_.Separator);
                    }
                    if (limitsColumns.Any) {
                        limitsTexts = LimitsTexts(reading.Inputs, limits, outcome.DiameterMmText, budgetTexts.back(),
                                                  options_.Units, options_.Separator);
                    }
                }
            }
            WriteFields(writer, record);
            for (const std::string& text : outcome.Texts) {
                writer.Field(text);
            }
            writer.Field(outcome.Status);
            if (threadColumn) {
                writer.Field(basicText);
            }
            if (budgetColumns.Any) {
                for (const std::string& text : budgetTexts) {
                    writer.Field(text);
                }
            }
            if (limitsColumns.Any) {
                for (const std::string& text : limitsTexts) {
                    writer.Field(text);
                }
            }
            writer.EndRecord();
            if (writer.WriteFailed()) {
                return Fail("the output cannot be written");
            }
        }
        if (reader_.NotText()) {
            return FailNotText();
        }
        if (reader_.ReadFailed()) {
            return Fail("the input cannot be read after line " + std::to_string(record.Line));
        }
        out_.flush();
        if (writer.WriteFailed()) {
            return Fail("the output cannot be written");
        }
        return anyInvalid ? ExitInvalidRow : ExitAllRead;
    }

private:
    static void WriteFields(CsvWriter& writer, const CsvRecord& record)
    {
        for (std::size_t i = 0; i < record.Count; ++i) {
            writer.Field(record.Fields[i]);
        }
    }

    int FailNotText()
    {
        out_.flush();
        return Fail("line " + std::to_string(reader_.NotTextLine()) +
                    ": the input holds a NUL byte and is no CSV text (save UTF-16 text as UTF-8)");
    }

    int Fail(const std::string& message)
    {
        err_ << ProgramName << ": " << message << '\n';
        return ExitBadInput;
    }

    CsvReader reader_;
    std::ostream& out_;
    std::ostream& err_;
    const BatchOptions& options_;
};

} // namespace

int RunBatchCalculator(int argc, const char* const argv[], std::istream& in, std::ostream& out, std::ostream& err)
{
    const CommandLineResult commandLine = ParseCommandLine(argc, argv);
    if (!commandLine.Error.empty()) {
        err << ProgramName << ": " << commandLine.Error << "\nTry '" << ProgramName
            << " --help' for more information.\n";
        return ExitBadInput;
    }
    const BatchOptions& options = commandLine.Options;
    if (options.Help) {
        out << UsageText();
        out.flush();
        return out ? ExitAllRead : ExitBadInput;
    }
    if (options.File.empty() || options.File == "-") {
        return Batch(in, out, err, options).Run();
    }
    std::error_code error;
    if (std::filesystem::is_directory(options.File, error)) {
        err << ProgramName << ": " << options.File << ": is a directory\n";
        return ExitBadInput;
    }
    std::ifstream file(options.File, std::ios::binary);
    if (!file) {
        err << ProgramName << ": " << options.File << ": " << std::strerror(errno) << '\n';
        return ExitBadInput;
    }
    return Batch(file, out, err, options).Run();
}

} // namespace zevko::cli
