#include "search/qt/SearchDialogStore.h"

#include <QSettings>
#include <memory>

namespace quodle {

namespace {

// "\Software\Velmora\Quillet\TStrings Property Editor" under the user's hive.
constexpr const char* kOrganization = "Velmora";
constexpr const char* kApplication = "Quillet";
constexpr const char* kKey = "TStrings Property Editor";

const QString kCrLf = QStringLiteral("\r\n");

int ReadNumber(const QSettings& s, const QString& name, int fallback) {
    bool ok = false;
    const int value = s.value(name).toString().trimmed().toInt(&ok);
    return ok ? value : fallback;
}

QStringList ReadItems(const QSettings& s, const QString& name) {
    const QString text = s.value(name).toString();
    if (text.isEmpty()) return {};
    QStringList items = text.split(kCrLf);
    // A list written with a final break ends with an empty entry.
    while (!items.isEmpty() && items.last().isEmpty()) items.removeLast();
    return items.mid(0, kSearchHistoryMax);
}

}  // namespace

void PushHistory(QStringList& items, const QString& text) {
    const qsizetype at = items.indexOf(text);
    if (at >= 0) items.removeAt(at);
    items.prepend(text);
    while (items.size() > kSearchHistoryMax) items.removeLast();
}

TSearchDialogStore::TSearchDialogStore() = default;

TSearchDialogStore::TSearchDialogStore(QString iniPath) : iniPath_(std::move(iniPath)) {}

namespace {
std::unique_ptr<QSettings> Open(const QString& iniPath) {
    auto s = iniPath.isEmpty() ? std::make_unique<QSettings>(QString::fromUtf8(kOrganization), QString::fromUtf8(kApplication))
                               : std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
    s->beginGroup(QString::fromUtf8(kKey));
    return s;
}
}  // namespace

TSearchDialogState TSearchDialogStore::Read() const {
    const auto s = Open(iniPath_);
    TSearchDialogState state;
    s->beginGroup(QStringLiteral("Options"));
    state.MatchCase = ReadNumber(*s, QStringLiteral("MatchCase"), 0) != 0;
    state.WholeWord = ReadNumber(*s, QStringLiteral("WholeWord"), 0) != 0;
    state.NoMatchZenkaku = ReadNumber(*s, QStringLiteral("NoMatchZenkaku"), 0) != 0;
    state.IncludeCRLF = ReadNumber(*s, QStringLiteral("IncludeCRLF"), 0) != 0;
    // Only the two choices there are.
    state.Direction = ReadNumber(*s, QStringLiteral("Direction"), 1) == 0 ? 0 : 1;
    s->endGroup();
    state.SearchItems = ReadItems(*s, QStringLiteral("SearchItems/Text"));
    state.ReplaceItems = ReadItems(*s, QStringLiteral("ReplaceItems/Text"));
    return state;
}

void TSearchDialogStore::Write(const TSearchDialogState& state, bool replace) const {
    const auto s = Open(iniPath_);
    auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    s->beginGroup(QStringLiteral("Options"));
    s->setValue(QStringLiteral("MatchCase"), flag(state.MatchCase));
    s->setValue(QStringLiteral("WholeWord"), flag(state.WholeWord));
    s->setValue(QStringLiteral("NoMatchZenkaku"), flag(state.NoMatchZenkaku));
    s->setValue(QStringLiteral("IncludeCRLF"), flag(state.IncludeCRLF));
    s->setValue(QStringLiteral("Direction"), QString::number(state.Direction));
    s->endGroup();
    s->setValue(QStringLiteral("SearchItems/Text"), state.SearchItems.join(kCrLf));
    if (replace) s->setValue(QStringLiteral("ReplaceItems/Text"), state.ReplaceItems.join(kCrLf));
}

}  // namespace quodle
