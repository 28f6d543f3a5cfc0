#pragma once
// A control carries its form's component name as its Qt object name, so the
// operator's tools and the tests find it by that name.
#include <QObject>
#include <QString>

namespace varmo {

template <typename Control>
Control* Named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

}  // namespace varmo
