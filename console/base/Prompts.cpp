#include "console/base/Prompts.h"

#include "console/base/QtPrompts.h"

namespace varmo {

namespace {

Prompts*& installed()
{
    static Prompts* prompts = nullptr;
    return prompts;
}

}  // namespace

Prompts& CurrentPrompts()
{
    if (installed() != nullptr)
        return *installed();
    static QtPrompts real;
    return real;
}

Prompts* InstallPrompts(Prompts* prompts)
{
    Prompts* before = installed();
    installed() = prompts;
    return before;
}

QString TextFileFilter()
{
    return QStringLiteral("Plik tekstowy (*.txt);;Dowolny plik (*)");
}

}  // namespace varmo
