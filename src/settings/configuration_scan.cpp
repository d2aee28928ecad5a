#include "settings/configuration_scan.h"

#include "platform/descriptor_reads.h"
#include "platform/file_system.h"
#include "platform/name_lookup.h"
#include "settings/profile_document.h"
#include "settings/token_reader.h"

#include <string_view>
#include <utility>

namespace kfg::settings {
namespace {

// Opens a regular file and reads it; `opened` tells a missing file from a failed read.
std::string ReadWhole(const std::filesystem::path& file, bool& opened) {
    std::string bytes;
    std::error_code error;
    const platform::UniqueFd fd = platform::OpenRegularFile(file, error);
    opened = fd.valid();
    if (!opened) {
        return bytes;
    }
    // A read error ends the scan with what was read.
    (void)platform::ReadToEnd(fd.get(), bytes);
    return bytes;
}

} // namespace

ConfigurationScan ScanConfigurationSections(const std::filesystem::path& file) {
    ConfigurationScan scan;
    const std::string bytes = ReadWhole(
        platform::FindIgnoringCase(file.parent_path(), file.filename().string()).path, scan.opened);
    const std::string_view text = bytes;
    bool firstWord = true;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsWordSeparator(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !IsWordSeparator(text[i])) {
            ++i;
        }
        if (start == i) {
            break;
        }
        const std::string_view word = text.substr(start, i - start);
        if (std::exchange(firstWord, false) || word.find('[') == std::string_view::npos) {
            continue;
        }
        // The name starts at the word's second character and runs to the first "]" of its
        // line, blanks included.
        const std::size_t lineEnd = text.find_first_of("\r\n", start);
        const std::string_view rest = text.substr(
            start + 1, (lineEnd == std::string_view::npos ? text.size() : lineEnd) - (start + 1));
        const std::size_t close = rest.find(']');
        if (close != std::string_view::npos) {
            // Without the blanks around it, as the file's lookup compares section names.
            scan.names.emplace_back(TrimBlanks(rest.substr(0, close)));
            i = start + 1 + close + 1; // words inside the name are not examined again
        }
    }
    return scan;
}

} // namespace kfg::settings
