// The path convention between the page and the shell.
#include "services/PagePath.h"

namespace vendrak {

std::string_view CutPagePath(std::string_view path) noexcept {
    const size_t slash = path.find('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace vendrak
