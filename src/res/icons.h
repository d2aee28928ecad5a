#pragma once

namespace kfg::res {

// Makes the icons ":/icons/<id>.svg" available. Safe to call more than once.
void RegisterIcons();

} // namespace kfg::res
