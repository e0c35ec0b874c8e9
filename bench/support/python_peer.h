#pragma once
// A peer computation in Debian's Python (numpy, scipy) on the data a benchmark times: the
// data go to a raw file of float64 values, the script prints the seconds its work took.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

// Writes the values to a new temporary file of this process; "" when it cannot.
inline std::string WriteRawValues(const std::vector<double>& values) {
    char path[] = "/tmp/tabulon-peer-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return "";
    const std::size_t bytes = values.size() * sizeof(double);
    const bool written = write(fd, values.data(), bytes) == static_cast<ssize_t>(bytes);
    close(fd);
    if (!written) {
        unlink(path);
        return "";
    }
    return path;
}

// Runs "/usr/bin/python3 bench/support/python_peer.py work FILE records arguments" on the
// values once per iteration and takes the seconds it prints as the iteration's time (use with
// UseManualTime); skips when the peer cannot run. TABULON_PEER_SCRIPT names the script.
inline void TimePythonPeer(benchmark::State& state, const std::vector<double>& values, const std::string& work,
                           int records, const std::string& arguments) {
    const std::string path = WriteRawValues(values);
    const std::string command = "/usr/bin/python3 '" TABULON_PEER_SCRIPT "' " + work + " " + path + " " +
                                std::to_string(records) + " " + arguments + " 2>/dev/null";
    for (auto _ : state) {
        std::FILE* pipe = path.empty() ? nullptr : popen(command.c_str(), "r");
        double seconds = 0;
        const bool read = pipe && std::fscanf(pipe, "%lf", &seconds) == 1;
        if (pipe) pclose(pipe);
        if (!read) {
            state.SkipWithError("the Python peer did not run (numpy and scipy: apt-get install python3-scipy)");
            break;
        }
        state.SetIterationTime(seconds);
    }
    if (!path.empty()) std::remove(path.c_str());
}
