#include "framework/widgets/accessible_factory.h"

#include <set>

namespace kfg::framework {

void InstallFactoryOnce(QAccessible::InterfaceFactory factory) {
    static std::set<QAccessible::InterfaceFactory> installed;
    if (installed.insert(factory).second) {
        QAccessible::installFactory(factory);
    }
}

} // namespace kfg::framework
