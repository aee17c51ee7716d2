#include "cad/CadTargets.h"

namespace quodle {

namespace {
constexpr std::array<std::string_view, kCadTargets.size()> kCommandNames = {"acad", "icad", "zcad", "bcad"};
}  // namespace

std::string_view TargetCommandName(TCadTarget t) { return kCommandNames[TargetIndex(t)]; }

std::optional<TCadTarget> TargetFromCommandName(std::string_view name) {
    for (const TCadTarget t : kCadTargets)
        if (kCommandNames[TargetIndex(t)] == name) return t;
    return std::nullopt;
}

void TTargetFlags::Select(TCadTarget t) {
    flags_.fill(false);
    flags_[TargetIndex(t)] = true;
}

std::optional<TCadTarget> TTargetFlags::LoadTarget() const {
    for (const TCadTarget t : kCadTargets)
        if (IsSet(t)) return t;
    return std::nullopt;
}

std::optional<TCadTarget> TTargetFlags::ButtonTarget() const {
    std::optional<TCadTarget> last;
    for (const TCadTarget t : kCadTargets)
        if (IsSet(t)) last = t;
    return last;
}

}  // namespace quodle
