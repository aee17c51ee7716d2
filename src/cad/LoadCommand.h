#pragma once
// The load command: hands the active document to the chosen CAD application.
//
//     TLoadDocument doc{editor.Modified(), recordedPath};
//     LoadIntoCad(targets, doc, host, desktop);
//
// The host is the program around the command (its message boxes, the
// temporary load file, the file system); the desktop finds and talks to the
// CAD application.
#include <optional>
#include <string>
#include <string_view>

#include "cad/CadDesktop.h"
#include "cad/CadTargets.h"
#include "cad/TargetWindows.h"

namespace quodle {

struct TLoadDocument {
    bool Modified = false;
    std::string Path;  // UTF-8: the path recorded for the document's tab
};

class TLoadHost {
public:
    virtual ~TLoadHost() = default;
    // A message box (UTF-8 text) with an OK button; returns once it is closed.
    virtual void ShowMessage(std::string_view text) = 0;
    // Writes the document's whole text to the temporary load file and returns
    // that file's path (UTF-8), or nothing after telling the user why not.
    virtual std::optional<std::string> WriteTemporaryFile() = 0;
    virtual bool FileExists(const std::string& path) = 0;
};

// The command on the given flags: the temporary file when the document is
// modified, then the branch of the first target set (none set: nothing),
// which looks for the target's windows by `windows`.
void LoadIntoCad(const TTargetFlags& targets, const TLoadDocument& document, TLoadHost& host, TCadDesktop& desktop,
                 const TTargetWindows& windows = {});

// The text LoadIntoCad gives a target for a file: the AutoCAD or BricsCAD
// load expression, or the plain path the automation call gets for
// IntelliCAD/IJCAD and ZwCAD; in `coding`. Nothing when the path cannot be
// written in that coding.
std::optional<std::string> TargetLoadText(TCadTarget target, std::string_view utf8Path, TPathCoding coding);

}  // namespace quodle
