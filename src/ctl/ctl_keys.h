#pragma once

#include "ctl/ctl_folder.h"
#include "telvio/viewer_key_table.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kfg::ctl {

// One of the edition's keys as the command line names it.
struct NamedKey {
    const telvio::ViewerKey* key = nullptr; // its row; for a memory slot, the slots' row
    int slot = -1;                          // the memory slot, or -1
    std::string name;                       // as the files spell it
};

enum class KeyUse { Read, Write };

// The key called `name` (letters in any case) that the edition reads, or writes; nothing,
// after saying why, when there is none.
std::optional<NamedKey> FindKey(Folder& folder, std::string_view name, KeyUse use);

// Every key loading reads for `edition`, in read order, the memory slots one by one.
std::vector<NamedKey> KeysRead(telvio::Edition edition);

int ValueOf(const NamedKey& key, const LoadedSettings& loaded);

// The row text of a list key's value in the captions' language; nothing for other keys and
// for a value that is no row.
std::optional<std::string_view> TextOf(const NamedKey& key, int value, telvio::Edition edition,
                                       texts::TextLanguage language);

// The number `text` stands for as a value of `key`: within the dialog's range, a row of a
// list by number or by its text in either language, never 0 for a memory slot. Nothing, after
// saying why, when it is none of these.
std::optional<int> ParseValue(Folder& folder, const NamedKey& key, std::string_view text);

} // namespace kfg::ctl
