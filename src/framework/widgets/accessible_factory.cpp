#include "framework/widgets/accessible_factory.h"

#include <set>

namespace kfg::framework {

void InstallFactoryOnce(QAccessible::InterfaceFactory factory) {
    static std::set<QAccessible::InterfaceFactory> installed;
    if (installed.insert(factory).second) {
        QAccessible::installFactory(factory);
    }
}

void FactoryMarks::Mark(QObject& object) {
    if (marked_.insert(&object).second) {
        QObject::connect(&object, &QObject::destroyed,
                         [this, gone = &object] { marked_.erase(gone); });
    }
}

} // namespace kfg::framework
