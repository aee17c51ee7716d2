// quodle-cli: the engine's analyses on files, without a window.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/FileIo.h"
#include "base/ShiftJis.h"
#include "cli/Cli.h"
#include "cli/Help.h"

namespace quodle::cli {

void Output::Put(std::string_view bytes) {
    // An empty line has no storage to hand to fwrite.
    if (bytes.empty() || error_ != 0) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), out_) != bytes.size()) error_ = errno != 0 ? errno : EIO;
}

void Output::Bytes(std::string_view cp932) {
    if (raw_ && format_.Encoding == TTextEncoding::ShiftJis) Put(cp932);
    else Put(Cp932ToUtf8(cp932, nullptr, format_.Variants));
}

void Output::Line(std::string_view cp932) {
    Bytes(cp932);
    Put(raw_ ? LineBreakBytes(format_.Break) : "\n");
}

int Output::Finish() {
    errno = 0;
    if (std::fflush(out_) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
    if (std::ferror(out_) && error_ == 0) error_ = EIO;
    // Some file systems report a failed write only when the file is closed.
    errno = 0;
    if (std::fclose(out_) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
    return error_;
}

bool Args::Has(std::string_view flag) const {
    return std::find(options.begin(), options.end(), flag) != options.end();
}

namespace {
std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}
}  // namespace

Registrar::Registrar(Command command) { Registry().push_back(std::move(command)); }

const std::vector<Command>& Commands() { return Registry(); }

std::string OptionValue(const Args& args, std::string_view name) {
    std::string value;
    const std::string prefix = std::string(name) + "=";
    for (const auto& o : args.options)
        if (o.rfind(prefix, 0) == 0) value = o.substr(prefix.size());
    return value;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "quodle-cli: %s\n", message.c_str());
    return kExitError;
}

std::string ExecutableDir() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    return std::filesystem::path(std::string(buf, static_cast<std::size_t>(n))).parent_path().string();
}

std::filesystem::path WindowProgramPath() { return std::filesystem::path(ExecutableDir()) / "quodle"; }

namespace {

// A closed standard descriptor gets a stand-in that refuses writes: the
// source file opened next must not become the output (or the error
// output), and a write to a closed output must fail, not vanish.
void ReserveStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int standIn = ::open("/dev/null", O_RDONLY | O_NOCTTY);
        if (standIn >= 0 && standIn != fd) {
            ::dup2(standIn, fd);
            ::close(standIn);
        }
    }
}

int Usage() {
    std::fputs(UsageText().c_str(), stderr);
    return kExitError;
}

// Asked-for texts go to standard output, written as carefully as a report.
int Print(const std::string& text) {
    Output out(false);
    out.Verbatim(text);
    if (const int error = out.Finish(); error != 0)
        return Fail(std::string("cannot write the output: ") + std::strerror(error));
    return kExitOk;
}

bool AsksForHelp(std::string_view a) { return a == "--help" || a == "-h"; }

}  // namespace
}  // namespace quodle::cli

int main(int argc, char** argv) {
    using namespace quodle::cli;
    ReserveStandardDescriptors();
    quodle::IgnoreFileSizeLimitSignal();
    if (argc < 2) return Usage();
    const std::string name = argv[1];
    if (AsksForHelp(name)) return Print(UsageText());
    if (name == "--version") return Print(VersionText());
    const auto& commands = Commands();
    const auto it = std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return name == c.name; });
    if (it == commands.end()) {
        std::fprintf(stderr, "quodle-cli: unknown command '%s'\n", name.c_str());
        return Usage();
    }
    Args args;
    bool optionsEnded = false;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-' || a == "-") {
            args.positional.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (AsksForHelp(a)) {
            return Print(CommandHelpText(*it));
        } else if (a == "--raw") {
            args.raw = true;
        } else if (std::find(it->flagOptions.begin(), it->flagOptions.end(), a) != it->flagOptions.end()) {
            args.options.push_back(a);
        } else {
            const auto eq = a.find('=');
            const std::string key = a.substr(0, eq);
            if (std::find(it->valueOptions.begin(), it->valueOptions.end(), key) == it->valueOptions.end()) {
                std::fprintf(stderr, "quodle-cli: unknown option '%s'\nusage: quodle-cli %s\n", a.c_str(), it->usage);
                return kExitError;
            }
            if (eq != std::string::npos) {
                args.options.push_back(a);
            } else if (i + 1 < argc) {
                args.options.push_back(key + "=" + argv[++i]);
            } else {
                std::fprintf(stderr, "quodle-cli: option '%s' needs a value\nusage: quodle-cli %s\n", a.c_str(), it->usage);
                return kExitError;
            }
        }
    }
    Output out(args.raw);
    const int rc = it->run(args, out);
    if (const int error = out.Finish(); error != 0)
        return Fail(std::string("cannot write the output: ") + std::strerror(error));
    return rc;
}
