// ロード: the load command hands the active document to the CAD application
// chosen in ターゲットCAD.
#include "app/Settings.h"
#include "app/qt/MainForm.h"
#include "app/qt/Messages.h"
#include "app/qt/PageControl.h"
#include "base/FileIo.h"
#include "cad/LoadCommand.h"
#include "editor/qt/EditorEx.h"

namespace quodle {

void TTarnwickMainForm::CAD1Click() {
    TEditorEx* editor = ActiveEditor();
    if (!editor || !setup_.CadDesktop) return;

    // The program around the command: its message boxes, the temporary file
    // written with the same safe save as a document, the file system.
    class THost final : public TLoadHost {
    public:
        THost(TTarnwickMainForm& form, TEditorEx& editor) : form_(form), editor_(editor) {}
        void ShowMessage(std::string_view text) override {
            form_.Message(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        }
        std::optional<std::string> WriteTemporaryFile() override {
            const std::string path = form_.setup_.TemporaryLoadFile.toStdString();
            try {
                SaveFileAtomically(path, editor_.Lines().Text());
            } catch (const FileError& e) {
                form_.Message(SaveFailedText(e));
                return std::nullopt;
            }
            return path;
        }
        bool FileExists(const std::string& path) override {
            return TTarnwickMainForm::FileExists(QString::fromStdString(path));
        }

    private:
        TTarnwickMainForm& form_;
        TEditorEx& editor_;
    } host(*this, *editor);

    const TLoadDocument document{editor->Modified(), tabPaths_[PageControl1->ActivePageIndex()].toStdString()};
    const IniDocument settingsFile = IniFile(setup_.SettingsPath.toStdString()).Read();
    LoadIntoCad(LoadTargetFlags(), document, host, *setup_.CadDesktop, settings::ReadTargetWindows(settingsFile));
}

}  // namespace quodle
