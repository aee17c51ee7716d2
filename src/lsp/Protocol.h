#pragma once
// JSON-RPC 2.0 as the protocol uses it: the error codes, and reading the
// parts of a message's params with a clear error when one is missing or
// of the wrong type.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "lsp/LspDocument.h"

namespace quodle::lsp {

using json = nlohmann::json;

enum TErrorCode : int {
    ecParseError = -32700,
    ecInvalidRequest = -32600,
    ecMethodNotFound = -32601,
    ecInvalidParams = -32602,
    ecInternalError = -32603,
    ecServerNotInitialized = -32002,
    ecRequestCancelled = -32800,
};

// A request whose params do not say what the method needs.
class TParamsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The member `key` of `object` (a JSON object), or a TParamsError naming it.
const json& Member(const json& object, std::string_view key);
std::string StringMember(const json& object, std::string_view key);
std::int64_t IntegerMember(const json& object, std::string_view key);
// A member that may be missing or null: nullptr then.
const json* OptionalMember(const json& object, std::string_view key);

TClientPosition PositionOf(const json& position);
TClientRange RangeOf(const json& range);
json PositionJson(const TClientPosition& p);
json RangeJson(const TClientRange& r);

// The body of a message on its way out: never an exception, whatever text
// the documents hold (a byte that is no UTF-8 is written as U+FFFD).
std::string Serialise(const json& message);

}  // namespace quodle::lsp
