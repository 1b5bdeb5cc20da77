#include "linalg/LinalgMessages.h"

#include <cstdio>

namespace linalg {

void report(const char* message) { std::fputs(message, stdout); }

}  // namespace linalg
