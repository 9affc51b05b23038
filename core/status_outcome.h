// Which status lines report a failure and which the success of a whole
// operation, for showing the outcome at a glance; the texts stay as they are.
#pragma once

#include <string>

namespace morsk {

enum class LineOutcome { Neutral, Failure, Success };

LineOutcome ClassifyStatusLine(const std::string& line);

}  // namespace morsk
