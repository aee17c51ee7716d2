#include "text/ReadAhead.h"

#include <stdexcept>

namespace quodle {

TReadAhead::TReadAhead(std::vector<std::string> paths) {
    for (std::string& path : paths) {
        // A pipe or a device would never end; those are refused when opened.
        if (NotADocumentFile(path)) continue;
        auto file = std::make_unique<TFile>();
        file->Path = std::move(path);
        files_.push_back(std::move(file));
    }
    if (!files_.empty()) thread_ = std::thread([this] { Run(); });
}

TReadAhead::~TReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    if (thread_.joinable()) thread_.join();
}

void TReadAhead::Run() {
    for (const auto& file : files_) {
        {
            const std::lock_guard lock(mutex_);
            if (stop_) return;
        }
        // Taken first: a change while the file is read shows as a change.
        file->Stamp = StampOf(file->Path);
        try {
            file->Result = AppendFileLines(file->Path, file->Rows);
        } catch (...) {
            file->Error = std::current_exception();
        }
        const std::lock_guard lock(mutex_);
        file->Done = true;
        done_.notify_all();
    }
}

TReadAhead::TFile* TReadAhead::Find(const std::string& path) {
    for (const auto& file : files_)
        if (file->Path == path && !file->Taken) return file.get();
    return nullptr;
}

bool TReadAhead::Holds(const std::string& path) {
    const std::lock_guard lock(mutex_);
    return Find(path) != nullptr;
}

TLoadResult TReadAhead::TakeInto(const std::string& path, TheStringList& rows, std::optional<FileStamp>& stamp) {
    std::unique_lock lock(mutex_);
    TFile* file = Find(path);
    if (file == nullptr) throw std::logic_error("TReadAhead: no read of " + path);
    done_.wait(lock, [&] { return file->Done; });
    file->Taken = true;
    stamp = file->Stamp;
    if (file->Error) std::rethrow_exception(file->Error);
    rows.SwapRows(file->Rows);
    file->Rows.Clear();
    return std::move(file->Result);
}

}  // namespace quodle
