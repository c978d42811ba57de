#include "CatalogFile.h"

#include "AtomicFile.h"
#include "FileLock.h"
#include "NumberFormat.h"
#include "ProfileFile.h"
#include "ProfileFileEncoding.h"

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

CatalogFileError Error(CatalogFileFault fault, std::string subject)
{
    return CatalogFileError{fault, std::move(subject)};
}

} // namespace

std::string CatalogFileError::Text() const
{
    switch (Fault) {
    case CatalogFileFault::CannotRead: return "Unable to read " + Subject;
    case CatalogFileFault::NotANumber: return "'" + Subject + "' is not a valid floating point value";
    case CatalogFileFault::CannotWrite: return "Unable to write to " + Subject;
    case CatalogFileFault::Locked:
        return "The catalog file " + Subject + " is locked by another instance of the program";
    case CatalogFileFault::UnknownEncoding:
        return "The catalog file " + Subject + " has an encoding that cannot be read or written; it is left unchanged";
    }
    return "Unable to write to " + Subject;
}

std::optional<CatalogFileError> LoadCatalog(ProbeCatalog& catalog, const std::string& path, std::string_view section,
                                            char separator)
{
    catalog.Open();
    std::optional<CatalogFileError> message;
    const FileText file = ReadWholeFile(path);
    std::optional<DecodedProfileText> decoded;
    if (file.status == FileText::Status::Failed) {
        message = Error(CatalogFileFault::CannotRead, FullPath(path));
    } else if (file.status == FileText::Status::Ok) {
        decoded = DecodeProfileText(file.text);
        if (!decoded)
            message = Error(CatalogFileFault::UnknownEncoding, FullPath(path));
    }

    if (decoded) {
        const ProfileFile profile(decoded->Text);
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
                    message = Error(CatalogFileFault::NotANumber, text);
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

std::optional<CatalogFileError> SaveCatalog(ProbeCatalog& catalog, const std::string& path, std::string_view section,
                                            char separator, std::chrono::milliseconds lockWait)
{
    catalog.Settle();
    if (!catalog.Changed())
        return std::nullopt;

    const CatalogFileError unableToWrite = Error(CatalogFileFault::CannotWrite, FullPath(path));
    // The lock, the leftovers and the file itself all belong beside the file
    // a link points to.
    const std::optional<std::string> target = ResolveSymbolicLinks(path);
    if (!target)
        return unableToWrite;
    FileLock lock;
    switch (lock.Acquire(LockFilePath(*target), lockWait)) {
    case FileLock::Outcome::Held: break;
    case FileLock::Outcome::Busy: return Error(CatalogFileFault::Locked, FullPath(path));
    case FileLock::Outcome::Failed: return unableToWrite;
    }
    RemoveLeftoverTemporaryFiles(*target);

    const FileText file = ReadWholeFile(*target);
    // Rewriting a file we could not read would lose everything else in it.
    if (file.status == FileText::Status::Failed)
        return unableToWrite;
    std::optional<DecodedProfileText> decoded =
        file.status == FileText::Status::Ok ? DecodeProfileText(file.text) : DecodedProfileText{};
    // Nor may 8-bit lines go into a file of another encoding.
    if (!decoded)
        return Error(CatalogFileFault::UnknownEncoding, FullPath(path));

    ProfileFile profile(decoded->Text);
    const std::vector<CatalogEntry>& entries = catalog.Entries();
    std::vector<std::pair<std::string, std::string>> values;
    values.reserve(entries.size() + 1);
    values.emplace_back("COUNT", std::to_string(entries.size()));
    for (std::size_t k = 1; k <= entries.size(); ++k)
        values.emplace_back("D" + std::to_string(k), FormatCatalogNumber(entries[k - 1].DIAMm, separator));
    profile.SetValues(section, values);

    const std::optional<std::string> bytes = EncodeProfileText(profile.Text(), decoded->Encoding);
    if (!bytes)
        return unableToWrite;
    if (file.status == FileText::Status::Ok && *bytes == file.text)
        return std::nullopt;
    if (!WriteWholeFileAtomically(*target, *bytes))
        return unableToWrite;
    return std::nullopt;
}

} // namespace zevko
