#pragma once
// quodle-cli: each command lives in its own file and registers itself with
// a QUODLE_CLI_COMMAND line, so commands are added without touching main.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/TextFile.h"

namespace quodle::cli {

// Exit statuses shared by every command.
constexpr int kExitOk = 0;
constexpr int kExitFindings = 1;
constexpr int kExitError = 2;

// Output in the user's chosen form: UTF-8 with LF for people (the default),
// or with --raw the document's own bytes (Shift-JIS with CR LF until a
// document says otherwise: its encoding and line break). Every write
// is checked: after the first failure nothing more is written, and Finish
// tells it, so that no command reports success for output it did not write.
class Output {
public:
    explicit Output(bool raw, std::FILE* out = stdout) : raw_(raw), out_(out) {}
    bool Raw() const { return raw_; }
    // The raw form takes the document's encoding (without a byte-order
    // mark) and line break.
    void SetDocumentFormat(const TFileFormat& format) { format_ = format; }
    // How the document is read (--encoding): detected, or as the user says.
    TReadEncoding ReadEncoding() const { return readEncoding_; }
    void SetReadEncoding(TReadEncoding encoding) { readEncoding_ = encoding; }
    // Bytes as they are, in either form.
    void Verbatim(std::string_view bytes) { Put(bytes); }
    // Writes one line of Shift-JIS text followed by the line end of the form.
    void Line(std::string_view cp932);
    // Writes Shift-JIS bytes as they are in raw form, decoded otherwise; no
    // line end is added.
    void Bytes(std::string_view cp932);
    // Flushes and closes the stream; the errno of the first failed write,
    // flush or close, or 0 when everything reached it.
    int Finish();

private:
    void Put(std::string_view bytes);

    bool raw_;
    TFileFormat format_;
    TReadEncoding readEncoding_ = TReadEncoding::Detect;
    std::FILE* out_;
    int error_ = 0;
};

struct Args {
    std::vector<std::string> positional;   // after the command name
    std::vector<std::string> options;      // "--name" or "--name=value" as given
    bool raw = false;
    // True when the plain flag was given.
    bool Has(std::string_view flag) const;
};

struct Command {
    const char* name;
    const char* usage;  // e.g. "text [--raw] FILE"
    // Option names this command takes a value for ("--jogai").
    std::vector<std::string> valueOptions;
    // Option names this command takes as plain flags ("--padded").
    std::vector<std::string> flagOptions;
    std::function<int(const Args&, Output&)> run;
    // What the command does, in a sentence or two: the usage and the
    // manual page show it.
    const char* summary = "";
};

// Registers a command at start-up; used through QUODLE_CLI_COMMAND.
struct Registrar {
    explicit Registrar(Command command);
};
const std::vector<Command>& Commands();

// Value of a value option, or empty; the last occurrence wins.
std::string OptionValue(const Args& args, std::string_view name);

// Reports a failure on stderr in the common form and returns kExitError.
int Fail(const std::string& message);

// Folder of the running executable.
std::filesystem::path ExecutableDir();
// The window program beside this one: the word lists, settings file and
// temporary load file are the ones it uses (WordListFoldersOf,
// SettingsFilePath, TemporaryLoadFilePath of this path).
std::filesystem::path WindowProgramPath();

}  // namespace quodle::cli

#define QUODLE_CLI_CONCAT2(a, b) a##b
#define QUODLE_CLI_CONCAT(a, b) QUODLE_CLI_CONCAT2(a, b)
#define QUODLE_CLI_COMMAND(...) \
    static const ::quodle::cli::Registrar QUODLE_CLI_CONCAT(kCliRegistrar, __LINE__){::quodle::cli::Command{__VA_ARGS__}}
