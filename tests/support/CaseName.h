#pragma once
// Names the instances of a parameterised test after their case's `name`
// field, with every character gtest does not accept in a name made '_'.
#include <cctype>
#include <string>

namespace quodle::testing {

struct TCaseName {
    template <class Info>
    std::string operator()(const Info& info) const {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    }
};

}  // namespace quodle::testing
