#include "CatalogFile.h"

#include "AtomicFile.h"
#include "NumberFormat.h"
#include "ProfileFile.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>
#include <vector>

namespace zevko {

namespace {

std::string FullPath(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(std::filesystem::path(path), ec);
    return ec ? path : full.lexically_normal().string();
}

// The entry number k of a key "Dk" (k in decimal without leading zeros).
std::optional<std::int64_t> EntryNumber(std::string_view key)
{
    if (key.size() < 2 || key.size() > 12 || (key[0] != 'D' && key[0] != 'd') || key[1] == '0')
        return std::nullopt;
    std::int64_t k = 0;
    for (std::size_t i = 1; i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9')
            return std::nullopt;
        k = k * 10 + (key[i] - '0');
    }
    return k;
}

// The largest double, written with the file's 15 digits, rounds up to a text
// just beyond the range of a double: read such a text back as that double.
double CatalogDouble(long double parsed)
{
    constexpr long double LargestWritten = 1.79769313486232e308L;
    if (std::fabs(parsed) > std::numeric_limits<double>::max() && std::fabs(parsed) <= LargestWritten)
        return parsed < 0.0L ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
    return static_cast<double>(parsed);
}

} // namespace

std::optional<std::string> LoadCatalog(ProbeCatalog& catalog, const std::string& path, std::string_view section,
                                       char separator)
{
    catalog.Open();
    std::optional<std::string> message;
    const FileText file = ReadWholeFile(path);
    if (file.status == FileText::Status::Failed)
        message = "Unable to read " + FullPath(path);

    if (file.status == FileText::Status::Ok) {
        const ProfileFile profile(file.text);
        const std::int32_t count = ParseProfileInteger(profile.Value(section, "COUNT").value_or(std::string()));
        // Only the keys that are there: a COUNT beyond them adds nothing.
        std::vector<std::pair<std::int64_t, std::string>> values;
        for (auto& [key, text] : profile.Values(section)) {
            const auto k = EntryNumber(key);
            if (k && *k <= count)
                values.emplace_back(*k, std::move(text));
        }
        std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [k, text] : values) {
            const std::optional<long double> parsed = ParseCatalogNumber(text, separator);
            const double value = parsed ? CatalogDouble(*parsed) : 0.0;
            if (!parsed || !std::isfinite(value)) {
                // One message for the first bad value; the rest still loads.
                if (!message)
                    message = "'" + text + "' is not a valid floating point value";
                continue;
            }
            catalog.AppendLoaded(value);
        }
    }

    catalog.Sort();
    catalog.First();
    catalog.SetChanged(false);
    return message;
}

std::optional<std::string> SaveCatalog(ProbeCatalog& catalog, const std::string& path, std::string_view section,
                                       char separator)
{
    catalog.Settle();
    if (!catalog.Changed())
        return std::nullopt;

    const std::string unableToWrite = "Unable to write to " + FullPath(path);
    const FileText file = ReadWholeFile(path);
    // Rewriting a file we could not read would lose everything else in it.
    if (file.status == FileText::Status::Failed)
        return unableToWrite;

    ProfileFile profile(file.text);
    const std::vector<CatalogEntry>& entries = catalog.Entries();
    std::vector<std::pair<std::string, std::string>> values;
    values.reserve(entries.size() + 1);
    values.emplace_back("COUNT", std::to_string(entries.size()));
    for (std::size_t k = 1; k <= entries.size(); ++k)
        values.emplace_back("D" + std::to_string(k), FormatCatalogNumber(entries[k - 1].DIAMm, separator));
    profile.SetValues(section, values);

    const std::string text = profile.Text();
    if (file.status == FileText::Status::Ok && text == file.text)
        return std::nullopt;
    if (!WriteWholeFileAtomically(path, text))
        return unableToWrite;
    return std::nullopt;
}

} // namespace zevko
