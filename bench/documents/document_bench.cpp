// Saving and loading documents of 1e5, 1e6 and 1e7 values, and the reference library of the
// format writing and reading the same values as one variable, side by side. The files go to
// the folder in TABULON_BENCH_DIR (default /tmp).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "documents/cdf_file.h"
#include "documents/document_model.h"

#ifdef TABULON_HAVE_NETCDF
#include <netcdf.h>
#endif

namespace {

std::string BenchPath(const char* name) {
    const char* dir = std::getenv("TABULON_BENCH_DIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + name;
}

// One series of two parameters (argument, value) holding n values.
DocumentData Data(std::int64_t n) {
    DocumentData d;
    Series s;
    s.nParameters = 2, s.nArguments = 1, s.nValues = 1, s.nRecords = static_cast<std::int32_t>(n / 2);
    d.series = {s};
    d.seriesNames = {"series"};
    Initial x, y;
    x.role = kRoleArgument, y.role = kRoleValue;
    d.parameters = {x, y};
    d.parameterNames = {"x", "y"};
    d.allValues.resize(static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < d.allValues.size(); ++i) d.allValues[i] = 0.001 * static_cast<double>(i) + 1.0 / 3.0;
    return d;
}

void BM_SaveDocument(benchmark::State& state) {
    const DocumentData data = Data(state.range(0));
    const DocumentSettings settings;
    const std::string path = BenchPath("tabulon_bench_save.cdf");
    for (auto _ : state) {
        cdfFile file;
        BuildDocument(settings, DocumentDataView{data.allValues, data.series, data.seriesNames, data.parameters, data.parameterNames}, file);
        if (!file.Save(path)) state.SkipWithError(file.error.c_str());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 8);
    std::remove(path.c_str());
}

void BM_LoadDocument(benchmark::State& state) {
    const std::string path = BenchPath("tabulon_bench_load.cdf");
    {
        cdfFile file;
        BuildDocument(DocumentSettings(), Data(state.range(0)), file);
        file.Save(path);
    }
    for (auto _ : state) {
        cdfFile file;
        if (!file.Load(path)) state.SkipWithError(file.error.c_str());
        DocumentSettings staging;
        DocumentData data;
        DocumentReadNotes notes;
        const std::string fault = ReadDocumentModel(file, staging, data, notes);
        if (!fault.empty()) state.SkipWithError(fault.c_str());
        benchmark::DoNotOptimize(data.allValues.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 8);
    std::remove(path.c_str());
}

// A file of another program: n records of two interleaved double record variables, which the
// reader takes record by record.
void BM_LoadRecordFile(benchmark::State& state) {
    const std::string path = BenchPath("tabulon_bench_records.nc");
    const auto n = static_cast<std::uint32_t>(state.range(0));
    {
        std::string bytes;
        auto word = [&](std::uint32_t v) { bytes += std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
        bytes = std::string("CDF\x01", 4);
        word(n), word(10), word(1), word(1), bytes += std::string("t\0\0\0", 4), word(0);
        word(0), word(0), word(11), word(2);
        const std::size_t begins[2] = {bytes.size() + 32, bytes.size() + 68};  // the begin words
        for (const char* name : {"a", "b"}) word(1), bytes += std::string(name) + std::string(3, '\0'), word(1), word(0), word(0), word(0), word(6), word(8), word(0);
        const std::uint32_t begin = static_cast<std::uint32_t>(bytes.size());
        for (int k = 0; k < 2; ++k) {
            const std::uint32_t b = begin + 8u * static_cast<std::uint32_t>(k);
            for (int i = 0; i < 4; ++i) bytes[begins[k] + static_cast<std::size_t>(i)] = char(b >> (24 - 8 * i));
        }
        bytes.resize(bytes.size() + std::size_t(n) * 16, '\x3f');
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    for (auto _ : state) {
        cdfFile file;
        if (!file.Load(path) || file.doubleData.size() != 2 * std::size_t(n)) state.SkipWithError(file.error.c_str());
        benchmark::DoNotOptimize(file.doubleData.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 16);
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadRecordFile)->RangeMultiplier(10)->Range(100000, 1000000)->Unit(benchmark::kMillisecond);

#ifdef TABULON_HAVE_NETCDF
void BM_NetcdfWrite(benchmark::State& state) {
    const DocumentData data = Data(state.range(0));
    const std::string path = BenchPath("tabulon_bench_nc_write.nc");
    for (auto _ : state) {
        int nc = 0, dim = 0, var = 0;
        if (nc_create(path.c_str(), NC_CLOBBER | NC_CLASSIC_MODEL, &nc) != NC_NOERR) state.SkipWithError("nc_create");
        nc_def_dim(nc, "n", data.allValues.size(), &dim);
        nc_def_var(nc, "All data", NC_DOUBLE, 1, &dim, &var);
        nc_enddef(nc);
        nc_put_var_double(nc, var, data.allValues.data());
        nc_close(nc);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 8);
    std::remove(path.c_str());
}

void BM_NetcdfRead(benchmark::State& state) {
    const std::string path = BenchPath("tabulon_bench_nc_read.cdf");
    {
        cdfFile file;
        BuildDocument(DocumentSettings(), Data(state.range(0)), file);
        file.Save(path);
    }
    for (auto _ : state) {
        // Fresh memory for every load, as a document load has to take it.
        std::unique_ptr<double[]> values(new double[static_cast<std::size_t>(state.range(0))]);
        int nc = 0, var = 0;
        if (nc_open(path.c_str(), NC_NOWRITE, &nc) != NC_NOERR) state.SkipWithError("nc_open");
        nc_inq_varid(nc, "All data", &var);
        nc_get_var_double(nc, var, values.get());
        nc_close(nc);
        benchmark::DoNotOptimize(values.get());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 8);
    std::remove(path.c_str());
}
BENCHMARK(BM_NetcdfWrite)->RangeMultiplier(10)->Range(100000, 10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NetcdfRead)->RangeMultiplier(10)->Range(100000, 10000000)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK(BM_SaveDocument)->RangeMultiplier(10)->Range(100000, 10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDocument)->RangeMultiplier(10)->Range(100000, 10000000)->Unit(benchmark::kMillisecond);
