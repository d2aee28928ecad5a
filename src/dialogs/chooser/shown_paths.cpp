#include "dialogs/chooser/shown_paths.h"

#include <QByteArray>
#include <QFile>
#include <system_error>

namespace kfg::dialogs {

namespace fs = std::filesystem;

QString DecodedPath(const fs::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

ShownPaths::ShownPaths(const fs::path& home) {
    if (home.empty()) {
        return;
    }
    std::error_code error;
    for (const fs::path& spelling : {home, fs::canonical(home, error)}) {
        const QString prefix = DecodedPath(spelling);
        if (!spelling.empty() && prefix != QLatin1String("/")) {
            homePrefixes_.push_back(prefix);
        }
    }
}

QString ShownPaths::Shown(const fs::path& path) const {
    const QString decoded = DecodedPath(path);
    for (const QString& prefix : homePrefixes_) {
        if (decoded == prefix) {
            return QStringLiteral("~");
        }
        if (decoded.startsWith(prefix + QLatin1Char('/'))) {
            return QStringLiteral("~") + decoded.mid(prefix.size());
        }
    }
    return decoded;
}

} // namespace kfg::dialogs
