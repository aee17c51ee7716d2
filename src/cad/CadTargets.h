#pragma once
// The four CAD applications the load command serves and the four flags of
// the ターゲットCAD menu that choose among them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quodle {

// In the order the flags are tested.
enum class TCadTarget : std::uint8_t { ctAutoCad, ctIntelliCad, ctZwCad, ctBricsCad };

inline constexpr std::array<TCadTarget, 4> kCadTargets = {TCadTarget::ctAutoCad, TCadTarget::ctIntelliCad,
                                                          TCadTarget::ctZwCad, TCadTarget::ctBricsCad};

constexpr std::size_t TargetIndex(TCadTarget t) { return static_cast<std::size_t>(t); }

// The short name the command line uses ("acad", "icad", "zcad", "bcad").
std::string_view TargetCommandName(TCadTarget t);
std::optional<TCadTarget> TargetFromCommandName(std::string_view name);

// The flags as the menu holds them. The settings file may set several (or
// none); a choice in the menu always leaves exactly one.
class TTargetFlags {
public:
    // The design state: AutoCAD only.
    TTargetFlags() { flags_[TargetIndex(TCadTarget::ctAutoCad)] = true; }

    bool IsSet(TCadTarget t) const { return flags_[TargetIndex(t)]; }
    void Set(TCadTarget t, bool on) { flags_[TargetIndex(t)] = on; }
    // Sets the chosen flag and clears the other three.
    void Select(TCadTarget t);

    // The target a load goes to: the first flag set, nothing when none is.
    std::optional<TCadTarget> LoadTarget() const;
    // The target whose picture and hint the load button shows after start-up:
    // the last flag set, nothing when none is.
    std::optional<TCadTarget> ButtonTarget() const;

private:
    std::array<bool, kCadTargets.size()> flags_{};
};

}  // namespace quodle
