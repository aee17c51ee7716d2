#pragma once
// The program around the load command, for tests: messages are recorded,
// files exist when they are in a set, the temporary file is a name that
// joins the set when it is written.
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cad/LoadCommand.h"

namespace quodle::testing {

class TFakeLoadHost final : public TLoadHost {
public:
    std::vector<std::string> messages;
    std::set<std::string> files;
    std::string temporaryPath = "/opt/quodle/temp.lsp";
    bool writeWorks = true;
    int writes = 0;

    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    std::optional<std::string> WriteTemporaryFile() override {
        ++writes;
        if (!writeWorks) {
            messages.emplace_back("write failed");
            return std::nullopt;
        }
        files.insert(temporaryPath);
        return temporaryPath;
    }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
};

}  // namespace quodle::testing
