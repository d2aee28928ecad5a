#pragma once

#include "texts/text_language.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace kfg::ctl {

// kfgctl's own messages; the dialog's texts (failure reasons, name problems) come from the
// layers below.
enum class Message {
    MissingViewerSettings,
    UnknownKey,
    NotRead,
    NotWritten,
    NotANumber,
    OutOfRange,
    NoSuchRow,
    ZeroSlot,
    StoredOutOfRange,
    UnknownConfiguration,
    UnknownCommand,
    UnknownOption,
    FolderExpected,
    WrongArguments,
    NotAnAssignment,
    OptionNotTaken,
    FirstRunPending,
    UnknownSettingsFile,
    NotAStateNumber,
    NoSuchState,
    NoSuchListedState,
    SeveralStatesNamed,
    StateUnreadable,
    OtherEdition,
    UndecidedEdition,
    NotKeptBeforeRestore,
    StatePutBack,
    StatePutBackOverNothing,
    NoKeyDiffers,
    MoreKeys,
    OutputUnwritable,
};

// The message in `language`, %1, %2, ... filled in with `values`.
std::string Text(Message message, texts::TextLanguage language,
                 std::initializer_list<std::string_view> values = {});

} // namespace kfg::ctl
