#pragma once
// Every control a form names carries that name as its Qt objectName too, so
// that testers and automation tools find it with findChild.
#include <QObject>
#include <QString>
#include <initializer_list>
#include <utility>

namespace varmo {

// One control, named where it is made.
template <typename Control>
Control* Named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// The controls of a form named in one go, after the form is built.
inline void NameControls(std::initializer_list<std::pair<QObject*, const char*>> controls)
{
    for (const auto& [control, name] : controls)
        if (control != nullptr)
            Named(control, name);
}

}  // namespace varmo
