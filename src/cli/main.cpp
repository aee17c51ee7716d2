// quodle-cli: the engine's analyses on files, without a window.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "base/FileIo.h"
#include "base/Process.h"
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

std::filesystem::path ExecutableDir() {
    const std::filesystem::path exe = quodle::ExecutablePath();
    return exe.empty() ? std::filesystem::path(".") : exe.parent_path();
}

std::filesystem::path WindowProgramPath() { return ExecutableDir() / "quodle"; }

namespace {

std::optional<TReadEncoding> ReadEncodingArg(std::string_view value) {
    if (value == "sjis") return TReadEncoding::ShiftJis;
    if (value == "utf-8") return TReadEncoding::Utf8;
    return std::nullopt;
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
    quodle::PrepareStandardStreams();
    quodle::IgnoreFileSizeLimitSignal();
    const std::vector<std::string> argList = quodle::ProgramArguments(argc, argv);
    if (argList.empty()) return Usage();
    const std::string& name = argList[0];
    if (AsksForHelp(name)) return Print(UsageText());
    if (name == "--version") return Print(VersionText());
    const auto& commands = Commands();
    const auto it = std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return name == c.name; });
    if (it == commands.end()) {
        std::fprintf(stderr, "quodle-cli: unknown command '%s'\n", name.c_str());
        return Usage();
    }
    Args args;
    std::optional<quodle::TReadEncoding> encoding;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < argList.size(); ++i) {
        const std::string& a = argList[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-' || a == "-") {
            args.positional.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (AsksForHelp(a)) {
            return Print(CommandHelpText(*it));
        } else if (a == "--raw") {
            args.raw = true;
        } else if (a == "--encoding" || a.starts_with("--encoding=")) {
            // Every command that reads a file takes it.
            const std::string value = a.size() > 10 ? a.substr(11) : i + 1 < argList.size() ? argList[++i] : "";
            encoding = ReadEncodingArg(value);
            if (!encoding) {
                std::fprintf(stderr, "quodle-cli: --encoding takes sjis or utf-8, not '%s'\n", value.c_str());
                return kExitError;
            }
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
            } else if (i + 1 < argList.size()) {
                args.options.push_back(key + "=" + argList[++i]);
            } else {
                std::fprintf(stderr, "quodle-cli: option '%s' needs a value\nusage: quodle-cli %s\n", a.c_str(), it->usage);
                return kExitError;
            }
        }
    }
    Output out(args.raw);
    if (encoding) out.SetReadEncoding(*encoding);
    const int rc = it->run(args, out);
    if (const int error = out.Finish(); error != 0)
        return Fail(std::string("cannot write the output: ") + std::strerror(error));
    return rc;
}
