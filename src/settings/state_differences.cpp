#include "settings/state_differences.h"

#include "settings/profile_document.h"
#include "settings/windows1252.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace kfg::settings {
namespace {

// One state's keys by folded section and key, each with its first value and its names.
struct Keys {
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };
    using Name = std::pair<std::string, std::string>; // folded section, folded key
    std::vector<Name> order;
    std::map<Name, Entry> entries;
    std::map<std::string, std::string> sections; // folded -> as written
    std::vector<std::string> sectionOrder;       // folded

    explicit Keys(std::string_view bytes) {
        const ProfileDocument document = ProfileDocument::Parse(bytes);
        for (const ProfileDocument::KeyLine& line : document.KeyLines()) {
            std::string section = FoldCase1252(line.section);
            if (sections.try_emplace(section, line.section).second) {
                sectionOrder.push_back(section);
            }
            Name name{std::move(section), FoldCase1252(line.key)};
            if (entries
                    .try_emplace(name, Entry{std::string(line.section), std::string(line.key),
                                             std::string(line.value)})
                    .second) {
                order.push_back(std::move(name));
            }
        }
    }
};

// `from` is `newer` when `bothWays`: its keys that differ or are missing in `other`; else the
// keys only `from` (the older state) holds.
void AddDifferences(const Keys& from, const Keys& other, bool fromIsNewer,
                    std::vector<StateDifference>& differences,
                    std::set<std::string>& wholeSections) {
    for (const std::string& section : from.sectionOrder) {
        if (!other.sections.contains(section) && wholeSections.insert(section).second) {
            StateDifference whole{from.sections.at(section), std::nullopt, std::nullopt,
                                  std::nullopt};
            (fromIsNewer ? whole.after : whole.before) = std::string();
            differences.push_back(std::move(whole));
        }
    }
    for (const Keys::Name& name : from.order) {
        if (wholeSections.contains(name.first)) {
            continue;
        }
        const Keys::Entry& entry = from.entries.at(name);
        const auto there = other.entries.find(name);
        std::optional<std::string> otherValue;
        if (there != other.entries.end()) {
            otherValue = there->second.value;
        }
        if (otherValue == entry.value || (!fromIsNewer && otherValue)) {
            continue; // the same, or a change the newer state's pass named already
        }
        differences.push_back(
            fromIsNewer ? StateDifference{entry.section, entry.key, otherValue, entry.value}
                        : StateDifference{entry.section, entry.key, entry.value, otherValue});
    }
}

} // namespace

std::vector<StateDifference> StateDifferences(std::string_view before, std::string_view after) {
    const Keys older(before);
    const Keys newer(after);
    std::vector<StateDifference> differences;
    std::set<std::string> wholeSections;
    AddDifferences(newer, older, true, differences, wholeSections);
    AddDifferences(older, newer, false, differences, wholeSections);
    return differences;
}

std::vector<std::string> KeysThatDiffer(std::string_view before, std::string_view after) {
    const std::vector<StateDifference> differences = StateDifferences(before, after);
    const bool oneSection =
        std::all_of(differences.begin(), differences.end(), [&](const StateDifference& d) {
            return d.key && EqualsIgnoreCase1252(d.section, differences.front().section);
        });
    std::vector<std::string> names;
    for (const StateDifference& d : differences) {
        if (!d.key) {
            names.push_back("[" + d.section + "]");
        } else {
            names.push_back(oneSection ? *d.key : "[" + d.section + "] " + *d.key);
        }
    }
    return names;
}

} // namespace kfg::settings
