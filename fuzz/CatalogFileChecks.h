#pragma once

// The catalog loader on an arbitrary catalog file: what it loads is a sorted
// list of finite diameters, and a catalog written back and loaded again is
// the same catalog, with the other section of the file untouched and the file
// in the encoding it had. A file in an encoding that cannot be written back
// is refused on loading and never written.
//
// The first input byte picks the decimal separator (bit 0) and the section
// (bit 1); the rest is the file.

#include "CatalogFile.h"
#include "FuzzCheck.h"
#include "ProbeCatalog.h"
#include "ProfileFileEncoding.h"

#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace zevko::fuzz {
namespace catalog_file {

using zevko::ProbeCatalog;

// One file per fuzzing process, in memory where the system has it (the save
// flushes to the disk).
inline const std::string& CatalogPath()
{
    static const std::string path = [] {
        std::filesystem::path dir = "/dev/shm";
        std::error_code ec;
        if (!std::filesystem::is_directory(dir, ec)) {
            const char* tmp = std::getenv("TMPDIR");
            dir = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
        }
        return (dir / ("zevko-fuzz-catalog-" + std::to_string(::getpid()) + ".ini")).string();
    }();
    static const bool removedAtExit = [] {
        std::atexit([] { std::remove(CatalogPath().c_str()); });
        return true;
    }();
    (void)removedAtExit;
    return path;
}

inline void WriteFile(const std::string& path, std::string_view text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    FUZZ_CHECK(out.good(), "the fuzz input is written to its file");
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<double> Diameters(const ProbeCatalog& catalog)
{
    std::vector<double> values;
    for (const zevko::CatalogEntry& e : catalog.Entries())
        values.push_back(e.DIAMm);
    return values;
}

inline void CheckLoaded(const ProbeCatalog& catalog, const std::optional<zevko::CatalogFileError>& message)
{
    FUZZ_CHECK(!message || !message->Text().empty(), "a message is never empty");
    FUZZ_CHECK(!catalog.Changed(), "a loaded catalog is unchanged");
    FUZZ_CHECK(catalog.Position() == 0, "the first entry is current");
    FUZZ_CHECK(catalog.State() == ProbeCatalog::EditState::Browsing, "nothing is being edited");
    const auto& entries = catalog.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        FUZZ_CHECK(std::isfinite(entries[i].DIAMm) && std::isfinite(entries[i].DIAMi), "loaded diameters are finite");
        FUZZ_CHECK(i == 0 || entries[i - 1].DIAMm <= entries[i].DIAMm, "loaded diameters ascend");
    }
}

// The first byte of `input` picks the options, the rest is the file.
inline void CheckCatalogFile(std::string_view input)
{
    if (input.empty())
        return;
    const auto options = static_cast<unsigned char>(input[0]);
    const char separator = (options & 1u) != 0 ? ',' : '.';
    const bool balls = (options & 2u) != 0;
    const std::string_view section = balls ? zevko::BallCatalogSection : zevko::WireCatalogSection;
    const std::string_view other = balls ? zevko::WireCatalogSection : zevko::BallCatalogSection;
    const std::string& path = CatalogPath();
    WriteFile(path, input.substr(1));

    ProbeCatalog catalog;
    const auto message = zevko::LoadCatalog(catalog, path, section, separator);
    CheckLoaded(catalog, message);
    const auto encoding = zevko::DecodeProfileText(input.substr(1));
    if (!encoding) {
        FUZZ_CHECK(message && message->Fault == zevko::CatalogFileFault::UnknownEncoding,
                   "a file in an encoding that cannot be written back is refused");
        FUZZ_CHECK(catalog.Count() == 0, "nothing is read from a refused file");
        catalog.SetChanged(true);
        const auto refused = zevko::SaveCatalog(catalog, path, section, separator);
        FUZZ_CHECK(refused && refused->Fault == zevko::CatalogFileFault::UnknownEncoding,
                   "a file in an encoding that cannot be written back is not written");
        FUZZ_CHECK(ReadFile(path) == input.substr(1), "a refused file keeps every byte");
        return;
    }
    ProbeCatalog otherCatalog;
    const auto otherMessage = zevko::LoadCatalog(otherCatalog, path, other, separator);
    CheckLoaded(otherCatalog, otherMessage);

    // Unchanged: closing writes nothing.
    FUZZ_CHECK(!zevko::SaveCatalog(catalog, path, section, separator), "an unchanged catalog saves silently");

    // As if the user had edited it: written, then read back as at the next start.
    const std::vector<double> loaded = Diameters(catalog);
    catalog.SetChanged(true);
    const auto saveMessage = zevko::SaveCatalog(catalog, path, section, separator);
    FUZZ_CHECK(!saveMessage, "a catalog is written to a writable file");

    const auto written = zevko::DecodeProfileText(ReadFile(path));
    FUZZ_CHECK(written && written->Encoding == encoding->Encoding, "the file keeps its encoding");

    ProbeCatalog reread;
    const auto rereadMessage = zevko::LoadCatalog(reread, path, section, separator);
    FUZZ_CHECK(!rereadMessage, "a written catalog reads back without a message");
    const std::vector<double> again = Diameters(reread);
    FUZZ_CHECK(again.size() == loaded.size(), "a written catalog reads back with all its entries");
    for (std::size_t i = 0; i < loaded.size(); ++i)
        FUZZ_CHECK(zevko::fuzz::CloseTo(again[i], loaded[i], 1e-14L), "a written diameter reads back to 15 digits");

    ProbeCatalog otherAgain;
    const auto otherAgainMessage = zevko::LoadCatalog(otherAgain, path, other, separator);
    FUZZ_CHECK(otherAgainMessage == otherMessage, "the other section reads as before");
    FUZZ_CHECK(Diameters(otherAgain) == Diameters(otherCatalog), "the other section keeps its entries");
}

} // namespace catalog_file

using catalog_file::CheckCatalogFile;

} // namespace zevko::fuzz
