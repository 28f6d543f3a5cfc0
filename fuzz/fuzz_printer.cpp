// The virtual printer fed any bytes: it must answer or keep silent, never crash.
#include <cstdint>
#include <string>

#include "simulator/Options.h"
#include "simulator/PrinterEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    varmo::SimOptions options;
    options.fiscal = size > 0 && data[0] % 2 == 1;
    varmo::PrinterEngine printer(varmo::StartState(options, varmo::CivilDate{2024, 5, 7}),
                                 [] { return varmo::LocalSeconds{0}; });
    printer.Feed(std::string(reinterpret_cast<const char*>(data), size));
    (void)printer.TakePaper();
    return 0;
}
