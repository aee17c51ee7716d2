#pragma once
// Files read into rows on a thread of their own while the caller does other
// work: at start-up the window is built while the files named on the
// command line are read. Each read is taken once, by the document that
// opens the file.
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/FileIo.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace quodle {

class TReadAhead {
public:
    // Starts reading the files in order (each as AppendFileLines reads it,
    // the encoding detected). What is not a regular file is left alone.
    explicit TReadAhead(std::vector<std::string> paths);
    // Stops after the file being read and waits for that.
    ~TReadAhead();
    TReadAhead(const TReadAhead&) = delete;
    TReadAhead& operator=(const TReadAhead&) = delete;

    // Whether `path` is one of the files and its read is not taken yet.
    bool Holds(const std::string& path);
    // Waits for the read of `path` (one it holds), puts its rows into the
    // empty `rows`, sets `stamp` to the file's stamp from before the read
    // and gives the read's result; throws what the read threw.
    TLoadResult TakeInto(const std::string& path, TheStringList& rows, std::optional<FileStamp>& stamp);

private:
    struct TFile {
        std::string Path;
        std::optional<FileStamp> Stamp;
        TheStringList Rows;
        TLoadResult Result;
        std::exception_ptr Error;
        bool Done = false;
        bool Taken = false;
    };
    TFile* Find(const std::string& path);
    void Run();

    std::vector<std::unique_ptr<TFile>> files_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace quodle
