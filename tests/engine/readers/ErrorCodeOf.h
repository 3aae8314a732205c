// The code of the ReadError a call raises, or nothing when it raises none.
#pragma once

#include "engine/model/ReadError.h"

#include <optional>

namespace engine::testing {

template <typename Call>
std::optional<ReadErrorCode> ErrorCodeOf(Call&& call) {
    try {
        call();
    } catch (const ReadError& error) {
        return error.Code();
    }
    return std::nullopt;
}

}  // namespace engine::testing
