#include "app/folder_places.h"

#include "app/settings_diagnostics.h"
#include "places/recent_folders.h"
#include "places/telvio_folder.h"
#include "places/wine_prefix_search.h"
#include "platform/state_folder.h"
#include "telvio/telvio_ini.h"

#include <QString>
#include <cstdlib>
#include <string_view>

namespace kfg::app {
namespace {

namespace fs = std::filesystem;
using dialogs::DecodedPath;

// A folder in $HOME as the user reads it: "~/" and its name.
QString InHome(std::string_view name) {
    return QStringLiteral("~/") +
           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

platform::StateFolder StateFolderOfProcess() {
    return platform::StateFolder::OfEnvironment(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
}

void RecordFolderRun(const platform::StateFolder& stateFolder, const fs::path& folder) {
    if (!telvio::HoldsTelvioIni(folder)) {
        return;
    }
    if (const std::error_code error = places::RecordRecentFolder(stateFolder, folder)) {
        qCWarning(kfgSettings).noquote()
            << "record of" << DecodedPath(folder) << "in the recent folders of"
            << DecodedPath(stateFolder.Path())
            << "failed:" << QString::fromStdString(error.message());
    }
}

dialogs::FolderChooserSources ChooserSourcesOfProcess(const platform::StateFolder& stateFolder) {
    const places::WinePrefixPlaces wine =
        places::WinePrefixPlaces::FromEnvironment(std::getenv("WINEPREFIX"), std::getenv("HOME"));
    dialogs::FolderChooserSources sources;
    sources.stateFolder = stateFolder;
    sources.wine = wine;
    if (wine.winePrefix) {
        sources.placesLooked.push_back(DecodedPath(*wine.winePrefix) +
                                       QStringLiteral(" ($WINEPREFIX)"));
    }
    if (wine.home) {
        sources.home = *wine.home;
        sources.placesLooked.push_back(InHome(places::kHomeWinePrefix));
        sources.placesLooked.push_back(InHome(places::kWinePrefixCollection) +
                                       QStringLiteral("/*"));
    }
    return sources;
}

} // namespace kfg::app
