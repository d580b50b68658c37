#pragma once

#include <string_view>

namespace tamsor {

// The edition of the load code a computation follows. It is a setting of the
// session, not part of the project file: New and a complete read set 201X.
enum class Edition : int {
    GB201X = 0, // GB50009-201X, the new code (the default)
    GB2001 = 1, // GB50009-2001, the old code
};

[[nodiscard]] constexpr std::string_view editionName(Edition edition) {
    return edition == Edition::GB201X ? "GB50009-201X" : "GB50009-2001";
}

} // namespace tamsor
