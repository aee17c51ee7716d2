#include "cad/LoadCommand.h"

#include "base/ShiftJis.h"
#include "cad/CadMessages.h"
#include "cad/CadWindows.h"

namespace quodle {

namespace {

// IntelliCAD/IJCAD and ZwCAD: found by their main window, loaded through
// their automation object.
struct TAutomationBranch {
    TWindowPattern TTargetWindows::*Window;
    TAutomationMethod Method;
    std::string_view NotFound;
    std::string_view Failed;
};

constexpr TAutomationBranch kIntelliCad = {
    &TTargetWindows::IntelliCad,
    {"ICAD.Application", "{8011C101-7E36-11D1-BC5A-0060089608A4}", 39},
    kIntelliCadNotFound,
    kIntelliCadFailed,
};
constexpr TAutomationBranch kZwCad = {
    &TTargetWindows::ZwCad,
    {"ZwCAD.Application", "{7D36BAE4-D595-4DFE-95A8-0917FA8C407B}", 52},
    kZwCadNotFound,
    kZwCadFailed,
};

void LoadIntoAutoCad(const std::string& path, TLoadHost& host, TCadDesktop& desktop, const TTargetWindows& windows) {
    const std::optional<std::string> expression = TargetLoadText(TCadTarget::ctAutoCad, path, desktop.Coding());
    // AutoCAD could not open a file by a name its code page cannot write.
    if (!expression) return host.ShowMessage(LoadPathNotFound(path));
    TAutoCadLink link(desktop, windows);
    if (!link.ActivateAutoCad()) return host.ShowMessage(kAutoCadNotFound);
    const bool wide = link.IsAutoCadUnicode();
    // A record AutoCAD did not take is not reported; the window found at
    // the start has gone or stopped answering.
    link.SendAutoCadCommand(*expression, wide);
    link.ActivateAutoCad();
}

void LoadThroughAutomation(const TAutomationBranch& branch, const std::string& path, TLoadHost& host,
                           TCadDesktop& desktop, const TTargetWindows& windows) {
    const TCadWindow window = FindTopLevel(desktop, windows.*branch.Window);
    if (window == 0) return host.ShowMessage(branch.NotFound);
    // A name that is not whole UTF-8 has no exact UTF-16 form to pass.
    if (!IsWholeText(path, TPathCoding::pcUtf8) || !desktop.CallLoadMethod(branch.Method, Utf8ToUtf16(path)))
        return host.ShowMessage(branch.Failed);
    desktop.BringToFront(window);
}

void LoadIntoBricsCad(const std::string& path, TLoadHost& host, TCadDesktop& desktop, const TTargetWindows& windows) {
    if (FindTopLevel(desktop, windows.BricsCad) == 0) return host.ShowMessage(kBricsCadNotFound);
    const std::optional<std::string> expression = TargetLoadText(TCadTarget::ctBricsCad, path, desktop.Coding());
    if (!expression) return host.ShowMessage(LoadPathNotFound(path));
    if (!SendBricsCadCommand(desktop, windows.BricsCad, *expression)) host.ShowMessage(kBricsCadFailed);
}

}  // namespace

std::optional<std::string> TargetLoadText(TCadTarget target, std::string_view utf8Path, TPathCoding coding) {
    const std::optional<std::string> path = PathInCoding(utf8Path, coding);
    if (!path) return std::nullopt;
    if (target == TCadTarget::ctIntelliCad || target == TCadTarget::ctZwCad) return path;
    const std::optional<std::string> escaped = EscapeForLispString(*path, coding);
    if (!escaped) return std::nullopt;
    return target == TCadTarget::ctAutoCad ? AutoCadLoadExpression(*escaped) : BricsCadLoadExpression(*escaped);
}

void LoadIntoCad(const TTargetFlags& targets, const TLoadDocument& document, TLoadHost& host, TCadDesktop& desktop,
                 const TTargetWindows& windows) {
    std::string path = document.Path;
    if (document.Modified) {
        // The document itself is not saved and stays modified.
        host.ShowMessage(kLoadModifiedNotice);
        std::optional<std::string> written = host.WriteTemporaryFile();
        // Loading the file of an earlier load instead would run stale code.
        if (!written) return;
        path = std::move(*written);
    }
    if (!host.FileExists(path)) return host.ShowMessage(LoadPathNotFound(path));
    const std::optional<TCadTarget> target = targets.LoadTarget();
    if (!target) return;
    switch (*target) {
    case TCadTarget::ctAutoCad:
        return LoadIntoAutoCad(path, host, desktop, windows);
    case TCadTarget::ctIntelliCad:
        return LoadThroughAutomation(kIntelliCad, path, host, desktop, windows);
    case TCadTarget::ctZwCad:
        return LoadThroughAutomation(kZwCad, path, host, desktop, windows);
    case TCadTarget::ctBricsCad:
        return LoadIntoBricsCad(path, host, desktop, windows);
    }
}

}  // namespace quodle
