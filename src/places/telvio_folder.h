#pragma once

#include <filesystem>

namespace kfg::places {

// Whether KFG started in `folder` would find its "Telvio.ini": a readable regular file of that
// name, the exact spelling first, else in any letter case (as a run there finds it).
bool HoldsTelvioIni(const std::filesystem::path& folder);

} // namespace kfg::places
