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

// The generated workloads lose nearly every definition to their own
// byte-level traps (a string ending in a double-byte character whose trail
// byte is "\" runs on), so the analyses mostly read outside code there.
// This document is made of recognisable definitions with nested ones,
// lambdas and quoted lists, about `mb` MB of them, each with a comment line
// and a name of its own.
inline std::vector<std::string> DefinitionsDocument(int mb) {
    std::vector<std::string> lines;
    std::size_t bytes = 0;
    const auto add = [&](std::string line) {
        bytes += line.size() + 2;
        lines.push_back(std::move(line));
    };
    for (int n = 0; bytes < static_cast<std::size_t>(mb) << 20; ++n) {
        const std::string k = std::to_string(n);
        add(";;; \x90\x7D\x8C\x60\x82\xF0\x8F\x88\x97\x9D\x82\xB7\x82\xE9 " + k);
        add("(defun c:CMD" + k + " (a" + k + " b / pt" + k + " lst i)");
        add("  (setq lst (list a" + k + " b) i 0)");
        add("  (foreach pt" + k + " lst");
        add("    (setq total" + k + " (+ i (car pt" + k + "))))");
        add("  (mapcar '(lambda (p) (princ p)) lst)");
        add("  (ssget \"_X\" '((0 . \"LINE\") (8 . \"\x95\x5C\x8E\xA6\")))");
        add("  (defun *error* (msg) (princ msg) (setq err" + k + " msg))");
        add("  (defun sub" + k + " (x / y)");
        add("    (setq y (* x 2.5) g" + k + " y))");
        add("  (princ \"\\n\x8A\xAE\x97\xB9\") ; end");
        add("  (princ))");
        add("(setq loaded" + k + " T)");
    }
    return lines;
}

class TCountingSink : public TProgressSink {
public:
    int Position() const override { return position_; }
    void SetPosition(int position) override { position_ = position; }

private:
    int position_ = 0;
};

}  // namespace quodle::bench
