#include "lsp/Protocol.h"

#include <limits>

namespace quodle::lsp {

const json& Member(const json& object, std::string_view key) {
    if (!object.is_object()) throw TParamsError("params must be an object");
    const auto it = object.find(key);
    if (it == object.end()) throw TParamsError("missing " + std::string(key));
    return *it;
}

const json* OptionalMember(const json& object, std::string_view key) {
    if (!object.is_object()) return nullptr;
    const auto it = object.find(key);
    return it == object.end() || it->is_null() ? nullptr : &*it;
}

std::string StringMember(const json& object, std::string_view key) {
    const json& value = Member(object, key);
    if (!value.is_string()) throw TParamsError(std::string(key) + " must be a string");
    return value.get<std::string>();
}

std::int64_t IntegerMember(const json& object, std::string_view key) {
    const json& value = Member(object, key);
    if (!value.is_number_integer()) throw TParamsError(std::string(key) + " must be an integer");
    return value.get<std::int64_t>();
}

TClientPosition PositionOf(const json& position) {
    const std::int64_t line = IntegerMember(position, "line");
    const std::int64_t character = IntegerMember(position, "character");
    if (line < 0 || character < 0) throw TParamsError("a position cannot be negative");
    return {static_cast<std::size_t>(line), static_cast<std::size_t>(character)};
}

TClientRange RangeOf(const json& range) { return {PositionOf(Member(range, "start")), PositionOf(Member(range, "end"))}; }

json PositionJson(const TClientPosition& p) { return {{"line", p.Line}, {"character", p.Character}}; }

json RangeJson(const TClientRange& r) { return {{"start", PositionJson(r.Start)}, {"end", PositionJson(r.End)}}; }

std::string Serialise(const json& message) { return message.dump(-1, ' ', false, json::error_handler_t::replace); }

}  // namespace quodle::lsp
