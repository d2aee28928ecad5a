#include "res/icons.h"

#include <QtGlobal>

// Outside any namespace, as the resource macro requires.
static void RegisterCompiledIcons() {
    Q_INIT_RESOURCE(kfg_resources);
}

namespace kfg::res {

// Called by code that shows icons: the reference keeps the linker from dropping the
// resources, which a static library would otherwise do.
void RegisterIcons() {
    RegisterCompiledIcons();
}

} // namespace kfg::res
