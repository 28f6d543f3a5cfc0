#pragma once
// Port-name rules: "com3" and "3" name COM3; anything without a number from 1
// to 16 names COM1.
#include <string>

namespace varmo {

std::string NormalizePortName(const std::string& name);

}  // namespace varmo
