#pragma once

namespace kfg::app {

// Names the application object as the desktop knows KFG: name, version, window icon and the
// desktop file its windows belong to. Call right after the application object is made.
void IdentifyApplication();

} // namespace kfg::app
