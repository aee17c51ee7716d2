#include "syntax/HyphenFountain.h"

#include <array>

namespace quodle {

namespace {

constexpr std::array<bool, 256> MakeHyphenWordChars() {
    std::array<bool, 256> t{};
    for (const char c : std::string_view("-0123456789>ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz"))
        t[static_cast<unsigned char>(c)] = true;
    return t;
}
constexpr auto kHyphenWordChars = MakeHyphenWordChars();

}  // namespace

std::unique_ptr<TFountainParser> THyphenFountain::CreateParser() {
    return std::make_unique<THyphenFountainParser>(this);
}

THyphenFountainParser::THyphenFountainParser(THyphenFountain* fountain) : TEditorParser(fountain) {
    SetWordChars(kHyphenWordChars.data());
}

}  // namespace quodle
