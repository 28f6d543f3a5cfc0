#pragma once
// A secret read from varmo-cli's standard input: from a terminal with its
// echo off (the prompt on standard error), else the first line of what is
// piped in. Nothing of it is written anywhere.
#include <optional>
#include <string>

namespace varmo::cli {

// The line without its end; nothing when the input ended first.
std::optional<std::string> ReadSecretLine(const std::string& prompt);

}  // namespace varmo::cli
