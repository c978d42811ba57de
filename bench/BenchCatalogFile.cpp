// Loading and saving the catalog file at sizes far beyond a real workshop's:
// ten megabytes of other text around a small catalog, and a catalog of
// 100,000 entries. A save includes writing a temporary file, flushing it to
// the disk and renaming it over the old one.

#include "CatalogFile.h"
#include "ProbeCatalog.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::string Wires{zevko::WireCatalogSection};

// Ten megabytes of notes, then the two catalogs.
std::string TenMegabytes()
{
    std::string text = "[Notes]\r\n";
    for (int i = 0; text.size() < 10u * 1024 * 1024; ++i)
        text += "Line" + std::to_string(i) + "=measured on bench " + std::to_string(i % 7) + ", wire set " +
                std::to_string(i % 13) + "\r\n";
    text += "[DIAM_N]\r\nCOUNT=3\r\nD1=0.577\r\nD2=0.866\r\nD3=1.155\r\n";
    text += "[DIAM_S]\r\nCOUNT=2\r\nD1=1.5\r\nD2=2\r\n";
    return text;
}

// 100,000 wires, largest first, so that a save rewrites every value.
std::string HundredThousandEntries()
{
    constexpr int Count = 100000;
    std::string text = "[DIAM_S]\r\nCOUNT=2\r\nD1=1.5\r\nD2=2\r\n[DIAM_N]\r\nCOUNT=" + std::to_string(Count) + "\r\n";
    char value[32];
    for (int k = 1; k <= Count; ++k) {
        std::snprintf(value, sizeof value, "%d.%03d", (Count + 1 - k) / 1000, (Count + 1 - k) % 1000);
        text += "D" + std::to_string(k) + "=" + value + "\r\n";
    }
    return text;
}

class CatalogFileFixture {
public:
    explicit CatalogFileFixture(std::string text) : text_(std::move(text))
    {
        std::error_code ec;
        directory_ = fs::temp_directory_path(ec) / ("zevko-bench-catalog-" + std::to_string(::getpid()));
        fs::create_directories(directory_, ec);
        path_ = (directory_ / "DEZADIRE.INI").string();
        Restore();
    }
    ~CatalogFileFixture()
    {
        std::error_code ec;
        fs::remove_all(directory_, ec);
    }
    CatalogFileFixture(const CatalogFileFixture&) = delete;
    CatalogFileFixture& operator=(const CatalogFileFixture&) = delete;

    const std::string& Path() const { return path_; }
    std::size_t Bytes() const { return text_.size(); }
    void Restore() const { std::ofstream(path_, std::ios::binary | std::ios::trunc) << text_; }

private:
    std::string text_;
    fs::path directory_;
    std::string path_;
};

void Load(benchmark::State& state, const std::string& text)
{
    const CatalogFileFixture file(text);
    zevko::ProbeCatalog catalog;
    for (auto _ : state) {
        const auto message = zevko::LoadCatalog(catalog, file.Path(), Wires, '.');
        if (message)
            state.SkipWithError(message->Text().c_str());
        benchmark::DoNotOptimize(catalog.Entries().data());
    }
    state.counters["entries"] = static_cast<double>(catalog.Count());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.Bytes()));
}

// The file is put back before each save, so that each one writes the whole
// file anew (a save that would change nothing does not write).
void Save(benchmark::State& state, const std::string& text)
{
    const CatalogFileFixture file(text);
    zevko::ProbeCatalog catalog;
    zevko::LoadCatalog(catalog, file.Path(), Wires, '.');
    catalog.AppendLoaded(0.1);
    catalog.Sort();
    for (auto _ : state) {
        state.PauseTiming();
        file.Restore();
        catalog.SetChanged(true);
        state.ResumeTiming();
        const auto message = zevko::SaveCatalog(catalog, file.Path(), Wires, '.');
        if (message)
            state.SkipWithError(message->Text().c_str());
    }
    state.counters["entries"] = static_cast<double>(catalog.Count());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.Bytes()));
}

void BM_LoadTenMegabytes(benchmark::State& state)
{
    Load(state, TenMegabytes());
}
void BM_SaveTenMegabytes(benchmark::State& state)
{
    Save(state, TenMegabytes());
}
void BM_LoadHundredThousandEntries(benchmark::State& state)
{
    Load(state, HundredThousandEntries());
}
void BM_SaveHundredThousandEntries(benchmark::State& state)
{
    Save(state, HundredThousandEntries());
}

BENCHMARK(BM_LoadTenMegabytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveTenMegabytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadHundredThousandEntries)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveHundredThousandEntries)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
