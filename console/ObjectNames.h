#pragma once
// Every control a form names carries that name as its Qt objectName too, so
// that testers and automation tools find it with findChild.
#include <QObject>
#include <initializer_list>
#include <utility>

namespace varmo {

inline void NameControls(std::initializer_list<std::pair<QObject*, const char*>> controls)
{
    for (const auto& [control, name] : controls)
        if (control != nullptr)
            control->setObjectName(QLatin1String(name));
}

}  // namespace varmo
