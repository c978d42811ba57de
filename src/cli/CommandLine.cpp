#include "CommandLine.h"

#include <optional>

namespace zevko::cli {
namespace {

// "--name value" or "--name=value"; advances i past what it used.
std::optional<std::string_view> OptionValue(std::string_view argument, std::string_view name, int& i, int argc,
                                            const char* const argv[], std::string& error)
{
    if (argument == name) {
        if (i + 1 >= argc) {
            error = std::string(name) + " needs a value";
            return std::nullopt;
        }
        return std::string_view(argv[++i]);
    }
    return argument.substr(name.size() + 1);
}

bool Names(std::string_view argument, std::string_view name)
{
    return argument == name ||
           (argument.starts_with(name) && argument.size() > name.size() && argument[name.size()] == '=');
}

} // namespace

CommandLineResult ParseCommandLine(int argc, const char* const argv[])
{
    CommandLineResult result;
    BatchOptions& options = result.Options;
    bool fileSeen = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            options.Help = true;
        } else if (!optionsEnded && Names(argument, "--units")) {
            const auto value = OptionValue(argument, "--units", i, argc, argv, result.Error);
            if (!value) {
                return result;
            }
            if (*value == "mm") {
                options.Units = UnitSystem::Millimetres;
            } else if (*value == "in") {
                options.Units = UnitSystem::Inches;
            } else {
                result.Error = "--units takes mm or in, not '" + std::string(*value) + "'";
                return result;
            }
        } else if (!optionsEnded && Names(argument, "--separator")) {
            const auto value = OptionValue(argument, "--separator", i, argc, argv, result.Error);
            if (!value) {
                return result;
            }
            if (*value == "." || *value == ",") {
                options.Separator = value->front();
            } else {
                result.Error = "--separator takes . or , not '" + std::string(*value) + "'";
                return result;
            }
        } else if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
            result.Error = "unknown option '" + std::string(argument) + "'";
            return result;
        } else {
            if (fileSeen) {
                result.Error = "only one input file may be given";
                return result;
            }
            fileSeen = true;
            options.File = argument;
        }
    }
    return result;
}

std::string_view UsageText()
{
    return R"(Usage: zevko-pd-calc [--units mm|in] [--separator .|,] [FILE]

Evaluates thread measurements over wires or between balls, one CSV row per
measurement: pitch diameter from an indicated value m or M, or the indicated
values m and M from a pitch diameter, with the measuring-force correction.
Reads CSV from FILE (standard input when FILE is absent or "-") and writes
CSV to standard output.

Options:
  --units mm|in      units of the result columns (default mm); the input is
                     always in millimetres
  --separator .|,    decimal separator of the numbers in the input and the
                     output (default .)
  -h, --help         show this help and exit

Input columns, named in the header row in any order, without regard to case:
  side       external | internal
  P          pitch, mm
  n          number of starts, a whole number from 0 to 100
  beta       flank angle, decimal degrees (27.5) or D:M:S (27:30:0)
  gamma      second flank angle, the same way
  dD         diameter of the wires or balls, mm
  F          measuring force, N
  material   steel | ruby (used for internal threads)
  method     perpendicular | inclined
  quantity   what X is: m, M or d2 (case matters; D2 is the same as d2)
  X          the entered value, mm
Optional uncertainty budget columns, standard uncertainties: u_X, u_dD, u_P,
u_A2 (force-correction model) and u_other in micrometres, u_beta and u_gamma
in arcminutes, u_F in newtons; probes (correlated | independent) and k (the
coverage factor, 2 when absent). With any of them each row also gets c_X,
c_dD, c_P, c_beta, c_gamma, c_F (4 decimals) and u_c, U (micrometres, 3
decimals) after status; empty for rows not ok and with d2 entered.
Optional column thread: a designation (M10x1.5-6g, 1/4-20 UNC-2A, Tr40x14(P7),
S40x7, G1/2, 1-5 ACME) that gives P, n, beta, gamma and, with a tolerance
class, side; their cells may then be empty, a different value in them is
invalid. It adds d2_basic (the basic pitch diameter) right after status.
Optional columns d2_min, d2_max (pitch-diameter limits, mm whatever --units
says) and rule (iso14253, the default, or simple) add, after the budget
columns, M_min and M_max (the M of a thread at each limit) and verdict
(conforms, does not conform, not decided; empty without limits, without U
under iso14253, for rows not ok and with d2 entered).
Other columns are copied through. The field delimiter is the first comma,
semicolon or tab of the header row and is used for the output as well;
fields may be quoted as in RFC 4180 ("1,5" with a decimal comma). Blank lines
are skipped.

Output: the input fields, then lead, optimum, diameter, indicated, correction
and status. diameter is the pitch diameter (m or M entered) or m (pitch
diameter entered); indicated is M (m or pitch diameter entered) or m (M
entered). The texts are those of the window: mm with 5 decimals, or with
--units in the inch values with 6 decimals. status is one of
  ok             the five texts are filled in
  implausible    an input lies outside its accepted range; texts empty
  failed         the calculation has no solution for these inputs; texts empty
  invalid: WHY   the row could not be read; texts empty, reported on
                 standard error with its line number

Exit status: 0 when every row was read, 1 when a row was invalid, 2 for a bad
command line or an input that cannot be read.
)";
}

} // namespace zevko::cli
