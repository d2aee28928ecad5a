#include "shortcut/desktop_entry.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <array>
#include <cstdint>

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

// Length of the UTF-8 sequence that `lead` begins and the smallest code point it may carry
// (anything smaller is an overlong form); 0 for a byte that cannot begin one.
struct Lead {
    int length;
    std::uint32_t minimum;
    std::uint32_t bits;
};

Lead ReadLead(unsigned char lead) {
    if (lead < 0x80) {
        return {1, 0, lead};
    }
    if ((lead & 0xE0) == 0xC0) {
        return {2, 0x80, lead & 0x1Fu};
    }
    if ((lead & 0xF0) == 0xE0) {
        return {3, 0x800, lead & 0x0Fu};
    }
    if ((lead & 0xF8) == 0xF0) {
        return {4, 0x10000, lead & 0x07u};
    }
    return {0, 0, 0};
}

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

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const Lead lead = ReadLead(static_cast<unsigned char>(text[i]));
        if (lead.length == 0 || text.size() - i < static_cast<std::size_t>(lead.length)) {
            return false;
        }
        std::uint32_t code = lead.bits;
        for (int k = 1; k < lead.length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < lead.minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += static_cast<std::size_t>(lead.length);
    }
    return true;
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
