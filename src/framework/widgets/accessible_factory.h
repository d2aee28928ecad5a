#pragma once

#include <QAccessible>
#include <QObject>
#include <unordered_set>

namespace kfg::framework {

// Installs `factory` once; factories installed later are asked before Qt's own.
void InstallFactoryOnce(QAccessible::InterfaceFactory factory);

// The objects marked for one factory. An object leaves as it is destroyed. A set, not a
// dynamic property: Qt looks a property name up through the whole class chain, and each
// factory is asked about every object a screen reader or a change of text reaches.
class FactoryMarks {
public:
    void Mark(QObject& object);
    bool Holds(const QObject* object) const { return marked_.contains(object); }

private:
    std::unordered_set<const QObject*> marked_;
};

// Hands `object` to `factory`, which makes a `Description` of the objects in `marks`. With a
// screen reader running, Qt may have described the object before it was marked (a field made
// inside an editable combo box reports its first text at once); that description is dropped,
// so that the next request reaches the factory.
template <class Description>
void MarkForFactory(QObject& object, FactoryMarks& marks, QAccessible::InterfaceFactory factory) {
    InstallFactoryOnce(factory);
    marks.Mark(object);
    if (!QAccessible::isActive()) {
        return; // nothing is described before a screen reader asks
    }
    QAccessibleInterface* described = QAccessible::queryAccessibleInterface(&object);
    if (described != nullptr && dynamic_cast<Description*>(described) == nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(described));
    }
}

} // namespace kfg::framework
