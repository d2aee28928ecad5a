#pragma once

#include "texts/text_language.h"

namespace kfg::texts {

// What the user is told about a name that cannot name a configuration, in the dialog's message
// box and after "kfgctl: " alike; the rules that find the problem are the configuration names'.
inline constexpr Texts kNameEmpty{"Choose a configuration!", "Konfiguration auswählen!",
                                  "Elegir  una configuración"};
inline constexpr Texts kNameReserved{"The name KFG is reserved.", "Der Name KFG ist reserviert.",
                                     "El nombre KFG está reservado."};
inline constexpr Texts kNameUnusable{"This name is not possible.", "Dieser Name ist nicht möglich.",
                                     "Este nombre no es posible."};
inline constexpr Texts kNameTooLong{"A configuration name has at most 14 characters.",
                                    "Ein Konfigurationsname hat höchstens 14 Zeichen.",
                                    "Un nombre de configuración tiene como máximo 14 caracteres."};

// When "KFG.ini" has no section of the name asked for; %1 stands for the name. The dialog ends
// it with a full stop, kfgctl does not.
inline constexpr Texts kNoSuchConfiguration{"KFG.ini holds no configuration %1",
                                            "KFG.ini enthält keine Konfiguration %1",
                                            "KFG.ini no contiene ninguna configuración %1"};

} // namespace kfg::texts
