// The files of a project: found below its folder, read by a few workers one
// file each at a time, and read again one by one when they change.
#include <algorithm>
#include <array>
#include <cstring>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "base/FileIo.h"
#include "base/ShiftJis.h"
#include "base/Text.h"
#include "project/ProjectModel.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace quodle {

namespace fs = std::filesystem;

struct TProject::TShared {
    TFoldedNameSet Builtins;
    TExclusionSet Exclusions;
    TExclusionSettings Settings;
};

namespace {

bool IsLispFile(const fs::path& path) { return AsciiEqualsIgnoreCase(path.extension().string(), ".lsp"); }

std::string NameBelow(const fs::path& path, const fs::path& root) {
    return path.lexically_relative(root).generic_string();
}

TProjectFile Unreadable(const std::string& reasonUtf8) {
    TProjectFile file;
    file.State = TFileState::fsUnreadable;
    file.Reason = Utf8ToCp932(reasonUtf8);
    return file;
}

// The lines of a file as a document opens them.
template <class F>
auto WithFileLines(const fs::path& path, F&& use) {
    TheStringList rows;
    AppendFileLines(path.string(), rows);
    return use(TLineList(
        &rows,
        [](const void* list, std::size_t i) {
            return static_cast<const TheStringList*>(list)->View(static_cast<int>(i));
        },
        static_cast<std::size_t>(rows.Count())));
}

// The entries a listing reads between two questions to the sink: a tree
// as large as a whole disk takes many seconds to walk.
constexpr std::size_t kEntriesPerAsk = 512;

// Every ".lsp" file below root, and the folders that could not be read;
// nothing when the sink asked to stop.
std::optional<std::vector<TProjectFile>> ListFiles(const fs::path& root, TProgressSink* progress) {
    std::vector<TProjectFile> files;
    std::vector<fs::path> pending{root};
    std::size_t seen = 0;
    while (!pending.empty()) {
        const fs::path folder = std::move(pending.back());
        pending.pop_back();
        std::error_code ec;
        fs::directory_iterator it(folder, ec);
        if (ec) {
            if (folder == root) throw FileError::FromErrno(root, ec.value());
            TProjectFile& skipped = files.emplace_back(Unreadable(FileError::FromErrno(folder, ec.value()).ShownReason()));
            skipped.Path = folder;
            skipped.Name = NameBelow(folder, root) + "/";
            continue;
        }
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            if (progress && ++seen % kEntriesPerAsk == 0) {
                progress->SetPosition(0);
                if (progress->StopAsked()) return std::nullopt;
            }
            std::error_code statError;
            // Linked folders are not followed: a link up the tree would never end.
            if (it->is_directory(statError) && !it->is_symlink(statError)) {
                pending.push_back(it->path());
            } else if (IsLispFile(it->path()) && !it->is_directory(statError)) {
                TProjectFile& file = files.emplace_back();
                file.Path = it->path();
                file.Name = NameBelow(it->path(), root);
            }
        }
    }
    return files;
}

fs::path Canonical(const fs::path& path) {
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? path.lexically_normal() : canonical;
}

// Runs work(i) for i in [0, count) on `threads` workers, each taking the
// next index when done with one; the caller's thread waits and moves the
// progress along. When the sink asks to stop, the workers finish the index
// they hold and take no more; false then, unless every index was done.
template <class Work>
bool RunWorkers(std::size_t count, unsigned threads, Work work, TProgressSink* progress) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    std::size_t done = 0;
    unsigned running = threads;
    std::mutex mutex;
    std::condition_variable changed;
    {
        std::vector<std::jthread> pool;
        const auto worker = [&] {
            for (std::size_t i; !stop.load(std::memory_order_relaxed) && (i = next.fetch_add(1)) < count;) {
                work(i);
                {
                    const std::lock_guard lock(mutex);
                    ++done;
                }
                changed.notify_one();
            }
            {
                const std::lock_guard lock(mutex);
                --running;
            }
            changed.notify_one();
        };
        for (unsigned t = 0; t < threads; ++t) pool.emplace_back(worker);
        std::unique_lock lock(mutex);
        for (std::size_t shown = 0;;) {
            // Often enough for a progress window to answer its stop button.
            changed.wait_for(lock, std::chrono::milliseconds(50), [&] { return done != shown || running == 0; });
            shown = done;
            if (progress && count > 0) {
                const int position = static_cast<int>(shown * TProgressSink::kMax / count);
                lock.unlock();
                progress->SetPosition(position);
                if (progress->StopAsked()) stop = true;
                lock.lock();
            }
            if (running == 0) break;
        }
    }
    return done == count;
}

// A NUL among the first bytes: an image or a UTF-16 file, say. The text a
// document would show may end before it, at a Ctrl+Z (a PNG file has one
// right after its signature), so the bytes are looked at as they are.
bool StartsLikeBinary(const fs::path& path) {
    RegularFileReader file(path);
    std::array<char, 8000> head;
    const std::size_t got = file.Read(head.data(), head.size());
    return std::memchr(head.data(), '\0', got) != nullptr;
}

TProjectFile ReadFile(const fs::path& path, const std::string* text, const TProject::TShared& shared) {
    const auto summarise = [&](TLineList lines) {
        return SummariseLines(lines, shared.Builtins, shared.Exclusions, shared.Settings);
    };
    try {
        if (!text) return StartsLikeBinary(path) ? BinaryFile() : WithFileLines(path, summarise);
        std::vector<std::string_view> lines;
        TextLines(*text, lines);
        TProjectFile file = summarise(lines);
        file.FromText = true;
        return file;
    } catch (const FileError& e) {
        return Unreadable(e.ShownReason());
    } catch (const std::bad_alloc&) {
        return Unreadable("メモリーが足りません");
    } catch (const std::exception& e) {
        return Unreadable(e.what());
    }
}

}  // namespace

bool CallsFunction(const TProjectFile& file, std::string_view name) {
    return std::any_of(file.Calls.begin(), file.Calls.end(),
                       [&](const TFileCall& c) { return c.Calls > 0 && AsciiEqualsIgnoreCase(c.Name, name); });
}

std::vector<std::string> ReadNameList(const fs::path& path) {
    return WithFileLines(path, [](TLineList lines) {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (const std::string_view name = TrimBlanks(lines[i]); !name.empty()) names.emplace_back(name);
        return names;
    });
}

TProject::TProject(TProjectOptions options) : options_(std::move(options)), shared_(std::make_unique<TShared>()) {
    for (const std::string& name : options_.BuiltinFunctions) shared_->Builtins.Insert(name);
    shared_->Exclusions = options_.VariableExclusions;
    shared_->Settings = options_.VariableSettings;
}

TProject::~TProject() = default;
TProject::TProject(TProject&&) noexcept = default;
TProject& TProject::operator=(TProject&&) noexcept = default;

bool TProject::IsBuiltin(std::string_view name) const { return shared_->Builtins.Find(name) != TFoldedNameSet::npos; }

void TProject::ReadExclusions() {
    folderExclusions_.clear();
    const fs::path path = root_ / std::string(kProjectExclusionFile);
    std::error_code ec;
    if (!fs::exists(path, ec)) return;
    try {
        folderExclusions_ = ReadNameList(path);
    } catch (const FileError& e) {
        // Said, not passed over: names the user meant to keep out would
        // otherwise come back as findings with no hint why.
        TProjectFile& skipped = files_.emplace_back(Unreadable(e.ShownReason()));
        skipped.Path = path;
        skipped.Name = std::string(kProjectExclusionFile);
    }
}

bool TProject::Analyse(const fs::path& root, const TProjectTexts& texts, TProgressSink* progress) {
    const TProgressReset reset(progress);
    root_ = root;
    files_.clear();
    folderExclusions_.clear();
    std::error_code ec;
    if (!fs::is_directory(root_, ec)) throw FileError::FromErrno(root_, ec ? ec.value() : ENOTDIR);
    std::optional<std::vector<TProjectFile>> listed = ListFiles(root_, progress);
    if (!listed) return false;
    files_ = std::move(*listed);

    // The caller's texts stand in for their files, and add the files the
    // disk does not have yet.
    std::map<fs::path, const std::string*> byPath;
    for (const auto& [path, text] : texts) byPath.emplace(Canonical(path), &text);
    std::vector<const std::string*> fileTexts(files_.size(), nullptr);
    if (!byPath.empty()) {
        for (std::size_t i = 0; i < files_.size(); ++i) {
            const auto it = byPath.find(Canonical(files_[i].Path));
            if (it == byPath.end()) continue;
            fileTexts[i] = it->second;
            byPath.erase(it);
        }
        const fs::path canonicalRoot = Canonical(root_);
        for (const auto& [path, text] : byPath) {
            const fs::path below = path.lexically_relative(canonicalRoot);
            if (below.empty() || *below.begin() == ".." || !IsLispFile(path)) continue;
            TProjectFile& file = files_.emplace_back();
            file.Path = root_ / below;
            file.Name = below.generic_string();
            fileTexts.push_back(text);
        }
    }

    const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
    const unsigned threads = static_cast<unsigned>(
        std::min<std::size_t>(options_.Threads ? options_.Threads : processors, std::max<std::size_t>(files_.size(), 1)));
    const bool whole = RunWorkers(
        files_.size(), threads,
        [&](std::size_t i) {
            if (files_[i].State != TFileState::fsAnalysed) return;  // an unreadable folder
            TProjectFile read = ReadFile(files_[i].Path, fileTexts[i], *shared_);
            read.Path = std::move(files_[i].Path);
            read.Name = std::move(files_[i].Name);
            files_[i] = std::move(read);
        },
        progress);
    if (!whole) {
        files_.clear();
        return false;
    }
    ReadExclusions();
    std::sort(files_.begin(), files_.end(),
              [](const TProjectFile& a, const TProjectFile& b) { return a.Name < b.Name; });
    return true;
}

std::vector<TProject::TFileCalls> TProject::CallsOf(std::string_view name, const TProjectTexts& texts) const {
    std::map<fs::path, const std::string*> byPath;
    for (const auto& [path, text] : texts) byPath.emplace(Canonical(path), &text);
    std::vector<TFileCalls> found;
    const auto collect = [&](std::size_t file, TLineList lines) {
        TFileCalls calls{file, CallPlaces(lines, name, shared_->Builtins, shared_->Exclusions, shared_->Settings), {}};
        for (const TProjectPlace& p : calls.Places) calls.Lines.emplace_back(lines[static_cast<std::size_t>(p.Line)]);
        if (!calls.Places.empty()) found.push_back(std::move(calls));
    };
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const TProjectFile& file = files_[i];
        if (!CallsFunction(file, name)) continue;
        if (const auto it = byPath.find(Canonical(file.Path)); it != byPath.end()) {
            std::vector<std::string_view> lines;
            TextLines(*it->second, lines);
            collect(i, lines);
            continue;
        }
        try {
            WithFileLines(file.Path, [&](TLineList lines) {
                collect(i, lines);
                return 0;
            });
        } catch (const FileError&) {
            // Gone or unreadable since it was analysed: no calls to list there.
        }
    }
    return found;
}

std::optional<std::string> TProject::NameOf(const fs::path& path) const {
    const fs::path below = Canonical(path).lexically_relative(Canonical(root_));
    if (below.empty() || *below.begin() == "..") return std::nullopt;
    return below.generic_string();
}

std::optional<std::size_t> TProject::IndexOf(const fs::path& path) const {
    const std::optional<std::string> name = NameOf(path);
    if (!name) return std::nullopt;
    const auto it = std::lower_bound(files_.begin(), files_.end(), *name,
                                     [](const TProjectFile& f, const std::string& n) { return f.Name < n; });
    if (it == files_.end() || it->Name != *name) return std::nullopt;
    return static_cast<std::size_t>(it - files_.begin());
}

void TProject::Update(const fs::path& path, const std::optional<std::string>& text) {
    const std::optional<std::string> below = NameOf(path);
    if (!below) return;
    const std::string& name = *below;
    if (name == kProjectExclusionFile) {
        std::erase_if(files_, [&](const TProjectFile& f) { return f.Name == name; });
        ReadExclusions();
        return;
    }
    if (!IsLispFile(path)) return;
    const auto it = std::lower_bound(files_.begin(), files_.end(), name,
                                     [](const TProjectFile& f, const std::string& n) { return f.Name < n; });
    const bool known = it != files_.end() && it->Name == name;
    std::error_code ec;
    if (!text && !fs::exists(path, ec)) {
        if (known) files_.erase(it);
        return;
    }
    TProjectFile read = ReadFile(path, text ? &*text : nullptr, *shared_);
    read.Path = root_ / fs::path(name);
    read.Name = name;
    if (known) *it = std::move(read);
    else files_.insert(it, std::move(read));
}

}  // namespace quodle
