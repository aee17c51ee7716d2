#pragma once
// What the benchmarks share: the workload paths from the environment, the
// memchr line-count baseline every ratio is taken against, and a progress
// sink that only keeps its position.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/Progress.h"

namespace quodle::bench {

// The paths in environment variable `name` separated by ':', or `fallback`.
inline std::vector<std::string> WorkloadPaths(const char* name, const std::string& fallback) {
    const char* env = std::getenv(name);
    const std::string all = env && *env ? env : fallback;
    std::vector<std::string> paths;
    std::size_t start = 0;
    for (std::size_t colon; (colon = all.find(':', start)) != std::string::npos; start = colon + 1)
        paths.push_back(all.substr(start, colon - start));
    paths.push_back(all.substr(start));
    return paths;
}

inline std::size_t CountLineFeeds(const char* p, const char* end) {
    std::size_t count = 0;
    while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
        ++count;
        ++p;
    }
    return count;
}

// The baseline: read the file in 1 MiB blocks and count its line feeds,
// the least any pass over every byte of it can cost.
inline void MemchrLineCountFile(benchmark::State& state, const std::string& path) {
    std::vector<char> block(1 << 20);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
        if (!file) {
            state.SkipWithError("cannot open the workload");
            return;
        }
        std::size_t lines = 0;
        std::size_t n;
        bytes = 0;
        while ((n = std::fread(block.data(), 1, block.size(), file.get())) > 0) {
            lines += CountLineFeeds(block.data(), block.data() + n);
            bytes += n;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

class TCountingSink : public TProgressSink {
public:
    int Position() const override { return position_; }
    void SetPosition(int position) override { position_ = position; }

private:
    int position_ = 0;
};

}  // namespace quodle::bench
