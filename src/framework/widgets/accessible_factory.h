#pragma once

#include <QAccessible>
#include <QObject>

namespace kfg::framework {

// Installs `factory` once; factories installed later are asked before Qt's own.
void InstallFactoryOnce(QAccessible::InterfaceFactory factory);

// Hands `object` to `factory`, which makes a `Description` of the objects marked with
// `property`. With a screen reader running, Qt may have described the object before it was
// marked (a field made inside an editable combo box reports its first text at once); that
// description is dropped, so that the next request reaches the factory.
template <class Description>
void MarkForFactory(QObject& object, const char* property, QAccessible::InterfaceFactory factory) {
    InstallFactoryOnce(factory);
    object.setProperty(property, true);
    if (!QAccessible::isActive()) {
        return; // nothing is described before a screen reader asks
    }
    QAccessibleInterface* described = QAccessible::queryAccessibleInterface(&object);
    if (described != nullptr && dynamic_cast<Description*>(described) == nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(described));
    }
}

} // namespace kfg::framework
