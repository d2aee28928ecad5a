#include "telvio/configuration_names.h"

#include "settings/windows1252.h"
#include "telvio/kfg_keys.h"
#include "texts/configuration_name_texts.h"

#include <array>

namespace kfg::telvio {
namespace {

constexpr int kConfigurationNameLength = 14; // characters, as the dialog's field gives

struct ProblemText {
    NameProblem problem;
    texts::Texts text;
};

constexpr std::array<ProblemText, 4> kProblemTexts{{
    {NameProblem::Empty, texts::kNameEmpty},
    {NameProblem::Reserved, texts::kNameReserved},
    {NameProblem::Unusable, texts::kNameUnusable},
    {NameProblem::TooLong, texts::kNameTooLong},
}};

// A byte that cannot stand in a section name without the file reading it back differently.
bool UnusableByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || byte == ']' || byte == 0x81 || byte == 0x8D ||
           byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

NameProblem CheckConfigurationName(const std::optional<std::string>& name) {
    if (!name) {
        return NameProblem::Unusable; // a character Windows-1252 cannot hold
    }
    if (name->empty()) {
        return NameProblem::Empty;
    }
    if (settings::EqualsIgnoreCase1252(*name, kManagerSection)) {
        return NameProblem::Reserved; // the manager's own section
    }
    for (const char c : *name) {
        if (UnusableByte(c)) {
            return NameProblem::Unusable;
        }
    }
    // One byte per character in Windows-1252.
    return name->size() > kConfigurationNameLength ? NameProblem::TooLong : NameProblem::None;
}

std::string FieldConfigurationName(std::string_view typed) {
    typed = Trimmed(typed);
    // Cut after the 14th character: count UTF-8 lead bytes.
    std::size_t end = 0;
    for (int characters = 0; end < typed.size(); ++end) {
        const auto byte = static_cast<unsigned char>(typed[end]);
        if ((byte & 0xC0) != 0x80 && characters++ == kConfigurationNameLength) {
            break;
        }
    }
    return std::string(Trimmed(typed.substr(0, end)));
}

std::string_view NameProblemText(NameProblem problem, texts::TextLanguage language) {
    for (const ProblemText& row : kProblemTexts) {
        if (row.problem == problem) {
            return row.text.In(language);
        }
    }
    return {};
}

} // namespace kfg::telvio
