#include "book/EscapedJson.h"

#include <QJsonArray>

#include "protocol/Escaped.h"

namespace varmo::book {

QJsonValue EscapedJson(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return QString::fromStdString(ControlsEscaped(value.toString().toStdString()));
    case QJsonValue::Array: {
        QJsonArray array;
        for (const QJsonValue& item : value.toArray())
            array.append(EscapedJson(item));
        return array;
    }
    case QJsonValue::Object:
        return EscapedJson(value.toObject());
    default:
        return value;
    }
}

QJsonObject EscapedJson(const QJsonObject& object)
{
    QJsonObject escaped;
    for (auto field = object.begin(); field != object.end(); ++field)
        escaped.insert(field.key(), EscapedJson(field.value()));
    return escaped;
}

}  // namespace varmo::book
