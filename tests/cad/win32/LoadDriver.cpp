// Runs the load command with the Windows backend, as the window does on F9,
// for the stand-in CAD under Wine (the window itself is not built for
// Windows here).
//
//   quodle_load_driver.exe --target acad|icad|zcad|bcad [--modified TEXT] FILE
//
// Prints each message the command shows, one line each ("message: ...",
// UTF-8). --modified loads a modified document whose text is TEXT: it goes
// to temp.lsp beside this program, as the window's does.
#include <cstdio>
#include <string>

#include "base/FileIo.h"
#include "base/PathText.h"
#include "base/Process.h"
#include "cad/CadTargets.h"
#include "cad/LoadCommand.h"
#include "cad/TemporaryLoadFile.h"

namespace {

using namespace quodle;

class TDriverHost final : public TLoadHost {
public:
    explicit TDriverHost(std::optional<std::string> text) : text_(std::move(text)) {}
    void ShowMessage(std::string_view text) override {
        std::printf("message: %.*s\n", static_cast<int>(text.size()), text.data());
    }
    std::optional<std::string> WriteTemporaryFile() override {
        const std::filesystem::path path = TemporaryLoadFilePath(ExecutablePath());
        try {
            SaveFileAtomically(path, *text_);
        } catch (const FileError& e) {
            ShowMessage(e.what());
            return std::nullopt;
        }
        return Utf8FromPath(path);
    }
    bool FileExists(const std::string& path) override {
        std::error_code ec;
        return std::filesystem::is_regular_file(PathFromUtf8(path), ec);
    }

private:
    std::optional<std::string> text_;
};

}  // namespace

int main(int argc, char** argv) {
    PrepareStandardStreams();
    const std::vector<std::string> args = ProgramArguments(argc, argv);
    std::optional<TCadTarget> target;
    std::optional<std::string> modifiedText;
    std::string file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--target" && hasValue) target = TargetFromCommandName(args[++i]);
        else if (args[i] == "--modified" && hasValue) modifiedText = args[++i];
        else file = args[i];
    }
    if (!target) {
        std::fprintf(stderr, "usage: quodle_load_driver --target acad|icad|zcad|bcad [--modified TEXT] FILE\n");
        return 2;
    }
    TTargetFlags flags;
    flags.Select(*target);
    TDriverHost host(modifiedText);
    const TLoadDocument document{modifiedText.has_value(), Utf8FromPath(std::filesystem::absolute(PathFromUtf8(file)))};
    LoadIntoCad(flags, document, host, *CreateSystemDesktop());
    return 0;
}
