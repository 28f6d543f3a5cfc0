#pragma once
// What varmo-cli --help prints: everything an integrator needs to drive the
// printer from a shell or a script.
#include <string>

namespace varmo::cli {

std::string HelpText();

}  // namespace varmo::cli
