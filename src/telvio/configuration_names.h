#pragma once

#include "texts/text_language.h"

#include <optional>
#include <string>
#include <string_view>

namespace kfg::telvio {

// What a named configuration may be called: the section name it is stored under in "KFG.ini".
enum class NameProblem { None, Empty, Reserved, Unusable, TooLong };

// Why `name` (Windows-1252; nothing when the text had a character Windows-1252 cannot hold)
// cannot name a configuration: empty, the manager's own section "KFG" in any letter case, a
// byte the file would read back differently (control characters, "]", the five bytes
// Windows-1252 leaves undefined), or longer than 14 characters.
NameProblem CheckConfigurationName(const std::optional<std::string>& name);

// The name as the configuration field gives it: no blanks at either end, at most 14
// characters. UTF-8 in, UTF-8 out.
std::string FieldConfigurationName(std::string_view typed);

// What the user is told about `problem` (None: nothing).
std::string_view NameProblemText(NameProblem problem, texts::TextLanguage language);

} // namespace kfg::telvio
