#pragma once

#include <QList>
#include <QString>
#include <functional>

class QWidget;
struct QMetaObject;

// What a module's Register() hands to a form designer: one class on one palette page.
struct ComponentRegistration
{
    QString page;
    const QMetaObject *metaObject = nullptr;
    QString includeFile;
    std::function<QWidget *(QWidget *parent)> create;

    QString className() const;
};

void RegisterComponent(ComponentRegistration registration);

template <class T>
void RegisterComponents(const QString &page, const QString &includeFile)
{
    RegisterComponent({page, &T::staticMetaObject, includeFile, [](QWidget *parent) { return new T(parent); }});
}

// Everything registered so far, in the order of registration; registering a class again replaces its entry.
const QList<ComponentRegistration> &RegisteredComponents();
