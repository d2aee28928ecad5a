#include "dialogs/chooser/state_change_texts.h"

#include "dialogs/chooser/history_texts.h"
#include "dialogs/main/setting_names.h"
#include "platform/name_lookup.h"
#include "settings/windows1252.h"
#include "telvio/edition_detection.h"
#include "telvio/kfg_keys.h"

#include <optional>

namespace kfg::dialogs {
namespace {

constexpr std::size_t kChangesNamed = 3;
const QString kMissing = QStringLiteral("\u2013"); // a value one of the states does not hold

QString FromFile(std::string_view bytes) {
    return QString::fromStdString(settings::Utf8FromWindows1252(bytes));
}

QString Text(HistoryText text, const ChangeNaming& naming) {
    return HistoryTextIn(text, naming.language);
}

bool IsManager(std::string_view file) {
    return platform::EqualIgnoringAsciiCase(file, telvio::kManagerFile);
}

// A section of "KFG.ini" other than [KFG] holds a named configuration.
bool IsConfiguration(std::string_view file, std::string_view section) {
    return IsManager(file) && !settings::EqualsIgnoreCase1252(section, telvio::kManagerSection);
}

// The edition whose list entries a state's values name.
telvio::Edition EditionFor(std::string_view file, std::string_view bytes,
                           const ChangeNaming& naming) {
    return IsManager(file) ? naming.folderEdition : telvio::DetectEditionOfBytes(bytes);
}

QString ValueText(std::string_view file, const settings::StateDifference& difference,
                  const std::optional<std::string>& value, std::string_view bytes,
                  const ChangeNaming& naming) {
    if (!value) {
        return kMissing;
    }
    return SettingValue(file, difference.section, *difference.key, *value,
                        EditionFor(file, bytes, naming), naming.captionLanguage);
}

} // namespace

QString ChangeText(std::string_view file, const settings::StateDifference& difference,
                   std::string_view before, std::string_view after, const ChangeNaming& naming) {
    const QString section = FromFile(difference.section);
    if (!difference.key) {
        const bool added = difference.after.has_value();
        if (IsConfiguration(file, difference.section)) {
            return Text(added ? HistoryText::ConfigurationSaved : HistoryText::ConfigurationDeleted,
                        naming)
                .arg(section);
        }
        return Text(added ? HistoryText::SectionAdded : HistoryText::SectionRemoved, naming)
            .arg(section);
    }
    const QString change =
        Text(HistoryText::Change, naming)
            .arg(SettingName(file, difference.section, *difference.key, naming.captionLanguage),
                 ValueText(file, difference, difference.before, before, naming),
                 ValueText(file, difference, difference.after, after, naming));
    if (IsConfiguration(file, difference.section)) {
        return Text(HistoryText::InConfiguration, naming).arg(section, change);
    }
    return change;
}

QString ChangeSummary(std::string_view file, std::string_view before, std::string_view after,
                      const ChangeNaming& naming) {
    const std::vector<settings::StateDifference> differences =
        settings::StateDifferences(before, after);
    QStringList named;
    for (std::size_t i = 0; i < differences.size() && i < kChangesNamed; ++i) {
        named << ChangeText(file, differences[i], before, after, naming);
    }
    QString summary = named.join(QStringLiteral(", "));
    if (differences.size() > kChangesNamed) {
        summary += QLatin1Char(' ') +
                   Text(HistoryText::MoreChanges, naming).arg(differences.size() - kChangesNamed);
    }
    return summary;
}

std::vector<DifferenceRow> DifferenceRows(std::string_view file, std::string_view state,
                                          std::string_view now, const ChangeNaming& naming) {
    std::vector<DifferenceRow> rows;
    for (const settings::StateDifference& d : settings::StateDifferences(state, now)) {
        const QString section = FromFile(d.section);
        if (!d.key) {
            const QString present = Text(HistoryText::Present, naming);
            const QString name = IsConfiguration(file, d.section)
                                     ? section
                                     : QLatin1Char('[') + section + QLatin1Char(']');
            rows.push_back({name, d.before ? present : kMissing, d.after ? present : kMissing});
            continue;
        }
        QString name = SettingName(file, d.section, *d.key, naming.captionLanguage);
        if (IsConfiguration(file, d.section)) {
            name = Text(HistoryText::InConfiguration, naming).arg(section, name);
        }
        rows.push_back({name, ValueText(file, d, d.before, state, naming),
                        ValueText(file, d, d.after, now, naming)});
    }
    return rows;
}

ConfigurationChanges ConfigurationsRestoreChanges(std::string_view state, std::string_view now) {
    ConfigurationChanges changes;
    const std::string_view file = telvio::kManagerFile;
    for (const settings::StateDifference& d : settings::StateDifferences(now, state)) {
        if (!IsConfiguration(file, d.section)) {
            continue;
        }
        const QString name = FromFile(d.section);
        if (!d.key && d.before) {
            changes.removed << name;
        } else if (d.key && !changes.changedBack.contains(name)) {
            changes.changedBack << name;
        }
    }
    return changes;
}

} // namespace kfg::dialogs
