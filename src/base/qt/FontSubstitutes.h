#pragma once
// The design fonts name faces of another system; they are mapped onto the
// installed Japanese faces once, for the screen and for paper alike.
namespace quodle {

void RegisterFontSubstitutes();

}  // namespace quodle
