#include "ComponentRegistry.h"

#include <QMetaObject>

namespace {

QList<ComponentRegistration> &registry()
{
    static QList<ComponentRegistration> registrations;
    return registrations;
}

} // namespace

QString ComponentRegistration::className() const
{
    return QString::fromLatin1(metaObject->className());
}

void RegisterComponent(ComponentRegistration registration)
{
    auto &registrations = registry();
    for (auto &existing : registrations) {
        if (existing.metaObject == registration.metaObject) {
            existing = std::move(registration);
            return;
        }
    }
    registrations.append(std::move(registration));
}

const QList<ComponentRegistration> &RegisteredComponents()
{
    return registry();
}
