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

template <class Description>
FactoryMarks& MarksOf() {
    static FactoryMarks marks;
    return marks;
}

// Makes a `Description` of the marked widgets; Qt describes the others.
template <class Description, class Widget>
QAccessibleInterface* DescriptionFactory(const QString& /*className*/, QObject* object) {
    auto* widget = qobject_cast<Widget*>(object);
    if (widget == nullptr || !MarksOf<Description>().Holds(widget)) {
        return nullptr;
    }
    return new Description(widget);
}

// Has screen readers see `widget` as a `Description`, made from a `Widget*`, in place of Qt's
// own description. With a screen reader running, Qt may have described the widget before (a
// field made inside an editable combo box reports its first text at once); that description
// is dropped, so that the next request reaches the factory.
template <class Description, class Widget>
void DescribeAs(Widget& widget) {
    InstallFactoryOnce(&DescriptionFactory<Description, Widget>);
    MarksOf<Description>().Mark(widget);
    if (!QAccessible::isActive()) {
        return; // nothing is described before a screen reader asks
    }
    QAccessibleInterface* described = QAccessible::queryAccessibleInterface(&widget);
    if (described != nullptr && dynamic_cast<Description*>(described) == nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(described));
    }
}

} // namespace kfg::framework
