#pragma once
// The two plain types every layer shares: a view's line list and a money amount.
#include <cstdint>
#include <string>
#include <vector>

namespace varmo {

// Lines of a description or of escaped text: each entry is one UTF-8 line.
using Lines = std::vector<std::string>;

// A fixed-point amount: a count of ten-thousandths (1 is 10000, 0.01 is 100).
using Amount = std::int64_t;

constexpr Amount kAmountOne = 10000;

}  // namespace varmo
