#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kfg::settings {

struct ConfigurationScan {
    bool opened = false;            // false: no readable "KFG.ini" (the first-run case)
    std::vector<std::string> names; // Windows-1252, in file order
};

// Lists the sections of the manager's file as the configuration list shows them: the file's
// first word is never examined (normally the header of [KFG]); every later word holding "["
// is a header whose name runs from the word's second character to the first "]" on its line,
// so a name with blanks ("[Abend Kino]") is listed whole, without the blanks around it
// ("[ Sport ]" lists "Sport"). A "[" word with no "]" after it on its line lists nothing. A
// read error ends the scan with what was read. The file's name ignores letter case.
ConfigurationScan ScanConfigurationSections(const std::filesystem::path& file);

} // namespace kfg::settings
