#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kfg::settings {

// `text` without the blanks (space, tab, vertical tab) around it, as names and values are
// compared in the file.
std::string_view TrimBlanks(std::string_view text);

// An INI file held as its lines, each with its own line end, so that an edit changes exactly
// the lines it touches and Serialise() gives back every other byte unchanged. Names passed in
// are used as given (the store trims them); they compare case-insensitively in Windows-1252.
class ProfileDocument {
public:
    ProfileDocument() = default;
    static ProfileDocument Parse(std::string_view bytes);

    std::string Serialise() const;
    // UTF-16 files are not understood: nothing is found in them and the store refuses edits.
    bool IsUtf16() const { return utf16_; }
    std::size_t LineCount() const { return lines_.size(); }

    // The value text of the first matching key of the first matching section, without the
    // blanks around it and with any quotes still on; nothing when section or key is missing.
    std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;

    bool HasSection(std::string_view section) const { return FindSection(section).has_value(); }

    // Every key line in file order, with the name of the section it stands in ("" before the
    // first header) and its value as FindValue gives it.
    struct KeyLine {
        std::string_view section;
        std::string_view key;
        std::string_view value;
    };
    std::vector<KeyLine> KeyLines() const;

    // Each returns whether the document changed.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteKey(std::string_view section, std::string_view key);
    bool DeleteSection(std::string_view section);

private:
    enum class Kind : std::uint8_t { Blank, Comment, Header, Key, Other };
    struct Line {
        std::string text;     // without its line end
        std::string_view eol; // "\r\n", "\n", "\r" or "" (last line only)
        Kind kind = Kind::Blank;
        std::uint32_t nameBegin = 0; // header name or key, without surrounding blanks
        std::uint32_t nameLength = 0;
        std::uint32_t valueBegin = 0; // key lines: value without surrounding blanks
        std::uint32_t valueLength = 0;

        std::string_view Name() const {
            return std::string_view(text).substr(nameBegin, nameLength);
        }
        std::string_view Value() const {
            return std::string_view(text).substr(valueBegin, valueLength);
        }
    };
    struct SectionSpan {
        std::size_t header; // line index of the header
        std::size_t end;    // one past its last line
    };
    using KeyIndex = std::unordered_map<std::string, std::size_t>;

    static Line Classify(std::string text, std::string_view eol);
    std::optional<SectionSpan> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(const SectionSpan& span, std::string_view key) const;
    void BuildSectionIndex() const;
    void InsertLine(std::size_t at, std::string text);
    void EraseLines(const std::vector<std::size_t>& sortedIndices);
    void EnsureLineEnd(std::size_t line);
    void InvalidateIndex();

    std::vector<Line> lines_;
    std::string_view newline_ = "\r\n"; // line end for lines we create
    bool utf16_ = false;

    // Lookup indices, rebuilt lazily after lines were inserted or removed.
    mutable bool indexed_ = false;
    mutable std::vector<std::size_t> headers_;                         // header line indices
    mutable std::unordered_map<std::string, std::size_t> firstHeader_; // folded name -> line
    mutable std::unordered_map<std::size_t, KeyIndex> keysBySection_;  // header line -> keys
};

} // namespace kfg::settings
