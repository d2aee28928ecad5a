#include "shortcut/desktop_entry.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <array>

namespace kfg::shortcut {
namespace {

struct Escape {
    char character;
    std::string_view sequence;
};

constexpr std::array<Escape, 4> kEscapes{{
    {'\\', "\\\\"},
    {'\n', "\\n"},
    {'\t', "\\t"},
    {'\r', "\\r"},
}};

std::string_view FolderName(std::string_view folder) {
    const std::size_t slash = folder.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos || slash + 1 == folder.size()
                                      ? folder
                                      : folder.substr(slash + 1);
    return name;
}

} // namespace

std::string EscapeValue(std::string_view text) {
    // Blanks before `first` or after `last` stand at an end of the value.
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' && (first == std::string_view::npos || i < first || i > last)) {
            out += "\\s";
            continue;
        }
        bool escaped = false;
        for (const Escape& escape : kEscapes) {
            if (c == escape.character) {
                out += escape.sequence;
                escaped = true;
                break;
            }
        }
        if (!escaped) {
            out += c;
        }
    }
    return out;
}

bool HasUnwritableControl(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 || byte == 0x7F) && c != '\n' && c != '\t' && c != '\r') {
            return true;
        }
    }
    return false;
}

std::string FolderEntry(std::string_view appId, std::string_view folder) {
    const std::string name(FolderName(folder));
    const std::string path(folder);
    std::string entry;
    const auto line = [&entry](std::string_view key, const std::string& value) {
        entry.append(key).append("=").append(EscapeValue(value)).append("\n");
    };
    entry += "[Desktop Entry]\n";
    line("Type", "Application");
    line("Version", "1.4"); // the newest that Debian 12's validator knows
    // The menu shows the folder's name; the comment tells two folders of one name apart.
    line("Name", "KFG – Telvio in " + name);
    line("Name[de]", "KFG – Telvio in " + name);
    line("Name[es]", "KFG – Telvio en " + name);
    line("Comment", "Set up the Telvio TV viewer in " + path);
    line("Comment[de]", "Den Fernsehbetrachter Telvio in " + path + " einrichten");
    line("Comment[es]", "Configurar el visor de televisión Telvio en " + path);
    line("Icon", std::string(appId));
    // TryExec hides the entry once KFG is removed; the entry itself stays in the user's home.
    line("Exec", "kfg");
    line("TryExec", "kfg");
    line("Path", path);
    line("Terminal", "false");
    line("Categories", "AudioVideo;Video;TV;Settings;");
    // The window of earlier states, in the same folder: the launcher takes Path for actions too.
    line("Actions", "earlier-states;");
    entry += "\n[Desktop Action earlier-states]\n";
    line("Name", "Earlier states");
    line("Name[de]", "Frühere Stände");
    line("Name[es]", "Estados anteriores");
    line("Exec", "kfg --history");
    return entry;
}

std::string FolderEntryFileName(std::string_view appId, std::string_view folder) {
    const QByteArray digest =
        QCryptographicHash::hash(
            QByteArrayView(folder.data(), static_cast<qsizetype>(folder.size())),
            QCryptographicHash::Sha256)
            .toHex()
            .left(12);
    return std::string(appId) + ".folder-" + digest.toStdString() + ".desktop";
}

} // namespace kfg::shortcut
