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

struct Difference {
    std::string section; // as written
    std::string key;     // empty: the whole section
};

void AddDifferences(const Keys& from, const Keys& other, bool bothWays,
                    std::vector<Difference>& differences, std::set<std::string>& wholeSections) {
    for (const std::string& section : from.sectionOrder) {
        if (!other.sections.contains(section) && wholeSections.insert(section).second) {
            differences.push_back({from.sections.at(section), {}});
        }
    }
    for (const Keys::Name& name : from.order) {
        if (wholeSections.contains(name.first)) {
            continue;
        }
        const auto there = other.entries.find(name);
        const bool differs = there == other.entries.end() ||
                             (bothWays && there->second.value != from.entries.at(name).value);
        if (differs) {
            const Keys::Entry& entry = from.entries.at(name);
            differences.push_back({entry.section, entry.key});
        }
    }
}

} // namespace

std::vector<std::string> KeysThatDiffer(std::string_view before, std::string_view after) {
    const Keys older(before);
    const Keys newer(after);
    std::vector<Difference> differences;
    std::set<std::string> wholeSections;
    AddDifferences(newer, older, true, differences, wholeSections);
    AddDifferences(older, newer, false, differences, wholeSections);

    const bool oneSection =
        wholeSections.empty() &&
        std::all_of(differences.begin(), differences.end(), [&](const Difference& d) {
            return EqualsIgnoreCase1252(d.section, differences.front().section);
        });
    std::vector<std::string> names;
    for (const Difference& d : differences) {
        if (d.key.empty()) {
            names.push_back("[" + d.section + "]");
        } else {
            names.push_back(oneSection ? d.key : "[" + d.section + "] " + d.key);
        }
    }
    return names;
}

} // namespace kfg::settings
