#pragma once
// Bracket depth colours: the round brackets of code coloured by how deeply
// they nest, in a cycle of colours, one cycle for light backgrounds and one
// for dark ones. Brackets in strings, comments and bracket regions are
// tokens of those kinds and never count.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "syntax/Fountain.h"

namespace quodle {

// What a byte does to the depth as a token of its own.
inline constexpr auto kBracketSteps = [] {
    std::array<std::int8_t, 256> steps{};
    steps['('] = 1;
    steps[')'] = -1;
    return steps;
}();

// +1 for an opening round bracket of code, -1 for a closing one, else 0.
// Without branches: a row's tokens alternate between kinds unpredictably.
// (A symbol token is one byte, so its first byte tells the bracket.)
inline int BracketStep(const TTokenSpan& t, std::string_view text) {
    return kBracketSteps[static_cast<unsigned char>(text[t.Pos])] * static_cast<int>(t.Kind == tokSymbol);
}

// A row's bracket balance, its tokens given in order, a batch at a time.
class TBracketCounter {
public:
    void Add(std::span<const TTokenSpan> tokens, std::string_view text) {
        for (const TTokenSpan& t : tokens) {
            sum_ += BracketStep(t, text);
            low_ = std::min(low_, sum_);
        }
    }
    TBracketBalance Balance() const { return {sum_, sum_ - low_}; }

private:
    int sum_ = 0;
    int low_ = 0;
};

inline constexpr int kDepthColorCount = 6;

// The cycle of depth colours that reads well on a dark background, or on
// a light one.
std::span<const TFountainColor, kDepthColorCount> DepthColors(bool darkBackground);
// Whether a background colour is dark (system colours count as light).
bool IsDarkBackground(TColor background);

// Colours the brackets of one row after another, carrying the depth: an
// opening bracket takes the colour of the depth it opens at, its closing
// bracket the same one. A closing bracket with none open keeps the
// fountain's colour and the depth stays at 0.
class TDepthColoring {
public:
    TDepthColoring(bool darkBackground, int depth) : colors_(DepthColors(darkBackground)), depth_(depth) {}

    int Depth() const { return depth_; }
    void SetDepth(int depth) { depth_ = depth; }
    // Goes on from depth `before` over a row's tokens without colouring
    // them: a row not drawn, or not drawn to its end.
    void Pass(int before, std::span<const TTokenSpan> tokens, std::string_view text) {
        TBracketCounter counter;
        counter.Add(tokens, text);
        depth_ = counter.Balance().Apply(before);
    }
    // The colour of a token: its depth colour for a bracket (stepping the
    // depth), else the fountain's. Each token of a row in order, once.
    const TFountainColor* TokenColor(const TFountainParser& parser, const TTokenSpan& token, std::string_view text);

private:
    std::span<const TFountainColor, kDepthColorCount> colors_;
    int depth_;
};

// The colour of a token: by depth where depth colours are on, else the
// fountain's.
inline const TFountainColor* TokenColorBy(std::optional<TDepthColoring>& depths, const TFountainParser& parser,
                                          const TTokenSpan& token, std::string_view text) {
    return depths ? depths->TokenColor(parser, token, text) : parser.TokenColor(token, text);
}

}  // namespace quodle
