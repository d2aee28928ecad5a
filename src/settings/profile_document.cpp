#include "settings/profile_document.h"

#include "settings/windows1252.h"

#include <algorithm>

namespace kfg::settings {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kLf = "\n";
constexpr std::string_view kCr = "\r";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

// Bounds of `text` without surrounding blanks, as [begin, end).
std::pair<std::size_t, std::size_t> TrimBounds(std::string_view text, std::size_t begin,
                                               std::size_t end) {
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return {begin, end};
}

std::uint32_t U32(std::size_t value) {
    return static_cast<std::uint32_t>(value);
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    const auto [begin, end] = TrimBounds(text, 0, text.size());
    return text.substr(begin, end - begin);
}

ProfileDocument ProfileDocument::Parse(std::string_view bytes) {
    ProfileDocument document;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        document.utf16_ = true;
        document.lines_.push_back(Classify(std::string(bytes), ""));
        document.lines_.back().kind = Kind::Other;
        return document;
    }
    bool newlineSeen = false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t stop = bytes.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) {
            document.lines_.push_back(Classify(std::string(bytes.substr(start)), ""));
            break;
        }
        std::string_view eol = kLf;
        if (bytes[stop] == '\r') {
            eol = (stop + 1 < bytes.size() && bytes[stop + 1] == '\n') ? kCrLf : kCr;
        }
        if (!newlineSeen) {
            document.newline_ = eol;
            newlineSeen = true;
        }
        document.lines_.push_back(Classify(std::string(bytes.substr(start, stop - start)), eol));
        start = stop + eol.size();
    }
    return document;
}

ProfileDocument::Line ProfileDocument::Classify(std::string text, std::string_view eol) {
    Line line;
    line.text = std::move(text);
    line.eol = eol;
    const std::string_view view = line.text;
    const auto [first, last] = TrimBounds(view, 0, view.size());
    if (first == last) {
        line.kind = Kind::Blank;
    } else if (view[first] == '[') {
        line.kind = Kind::Header;
        std::size_t close = view.find(']', first + 1);
        if (close == std::string_view::npos) {
            close = view.size();
        }
        const auto [nameBegin, nameEnd] = TrimBounds(view, first + 1, close);
        line.nameBegin = U32(nameBegin);
        line.nameLength = U32(nameEnd - nameBegin);
    } else if (view[first] == ';') {
        line.kind = Kind::Comment;
    } else if (const std::size_t equals = view.find('='); equals != std::string_view::npos) {
        line.kind = Kind::Key;
        const auto [keyBegin, keyEnd] = TrimBounds(view, first, equals);
        const auto [valueBegin, valueEnd] = TrimBounds(view, equals + 1, view.size());
        line.nameBegin = U32(keyBegin);
        line.nameLength = U32(keyEnd - keyBegin);
        line.valueBegin = U32(valueBegin);
        line.valueLength = U32(valueEnd - valueBegin);
    } else {
        line.kind = Kind::Other;
    }
    return line;
}

std::string ProfileDocument::Serialise() const {
    std::size_t size = 0;
    for (const Line& line : lines_) {
        size += line.text.size() + line.eol.size();
    }
    std::string bytes;
    bytes.reserve(size);
    for (const Line& line : lines_) {
        bytes += line.text;
        bytes += line.eol;
    }
    return bytes;
}

std::vector<ProfileDocument::KeyLine> ProfileDocument::KeyLines() const {
    std::vector<KeyLine> keys;
    std::string_view section;
    for (const Line& line : lines_) {
        if (line.kind == Kind::Header) {
            section = line.Name();
        } else if (line.kind == Kind::Key) {
            keys.push_back({section, line.Name(), line.Value()});
        }
    }
    return keys;
}

void ProfileDocument::InvalidateIndex() {
    indexed_ = false;
    headers_.clear();
    firstHeader_.clear();
    keysBySection_.clear();
}

void ProfileDocument::BuildSectionIndex() const {
    if (indexed_) {
        return;
    }
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Header) {
            headers_.push_back(i);
            // The first section of a name wins; later ones are never consulted.
            firstHeader_.try_emplace(FoldCase1252(lines_[i].Name()), i);
        }
    }
    indexed_ = true;
}

std::optional<ProfileDocument::SectionSpan>
ProfileDocument::FindSection(std::string_view section) const {
    if (utf16_) {
        return std::nullopt;
    }
    BuildSectionIndex();
    const auto found = firstHeader_.find(FoldCase1252(section));
    if (found == firstHeader_.end()) {
        return std::nullopt;
    }
    const std::size_t header = found->second;
    const auto next = std::upper_bound(headers_.begin(), headers_.end(), header);
    return SectionSpan{header, next == headers_.end() ? lines_.size() : *next};
}

std::optional<std::size_t> ProfileDocument::FindKey(const SectionSpan& span,
                                                    std::string_view key) const {
    auto [entry, created] = keysBySection_.try_emplace(span.header);
    KeyIndex& keys = entry->second;
    if (created) {
        for (std::size_t i = span.header + 1; i < span.end; ++i) {
            if (lines_[i].kind == Kind::Key) {
                keys.try_emplace(FoldCase1252(lines_[i].Name()), i);
            }
        }
    }
    const auto found = keys.find(FoldCase1252(key));
    if (found == keys.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<std::string_view> ProfileDocument::FindValue(std::string_view section,
                                                           std::string_view key) const {
    const auto span = FindSection(section);
    if (!span) {
        return std::nullopt;
    }
    const auto line = FindKey(*span, key);
    if (!line) {
        return std::nullopt;
    }
    return lines_[*line].Value();
}

void ProfileDocument::EnsureLineEnd(std::size_t line) {
    if (lines_[line].eol.empty()) {
        lines_[line].eol = newline_;
    }
}

void ProfileDocument::InsertLine(std::size_t at, std::string text) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  Classify(std::move(text), newline_));
    InvalidateIndex();
}

void ProfileDocument::EraseLines(const std::vector<std::size_t>& sortedIndices) {
    if (sortedIndices.empty()) {
        return;
    }
    std::size_t next = 0;
    std::size_t out = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (next < sortedIndices.size() && sortedIndices[next] == i) {
            ++next;
            continue;
        }
        if (out != i) {
            lines_[out] = std::move(lines_[i]);
        }
        ++out;
    }
    lines_.resize(out);
    InvalidateIndex();
}

bool ProfileDocument::SetValue(std::string_view section, std::string_view key,
                               std::string_view value) {
    const auto span = FindSection(section);
    if (!span) {
        if (!lines_.empty()) {
            EnsureLineEnd(lines_.size() - 1);
        }
        std::string header = "[";
        header.append(section).append("]");
        InsertLine(lines_.size(), std::move(header));
        InsertLine(lines_.size(), std::string(key).append("=").append(value));
        return true;
    }
    if (const auto existing = FindKey(*span, key)) {
        Line& line = lines_[*existing];
        // Same value text: the line stays as it is, odd spacing included.
        if (line.Value() == value) {
            return false;
        }
        std::string text(line.Name());
        text.append("=").append(value);
        const std::string_view eol = line.eol.empty() ? newline_ : line.eol;
        line = Classify(std::move(text), eol);
        return true;
    }
    // New keys go after the section's last key line, so comments closing the section stay last.
    std::size_t after = span->header;
    for (std::size_t i = span->end; i > span->header + 1; --i) {
        if (lines_[i - 1].kind == Kind::Key) {
            after = i - 1;
            break;
        }
    }
    EnsureLineEnd(after);
    InsertLine(after + 1, std::string(key).append("=").append(value));
    return true;
}

bool ProfileDocument::DeleteKey(std::string_view section, std::string_view key) {
    const auto span = FindSection(section);
    if (!span) {
        return false;
    }
    const auto line = FindKey(*span, key);
    if (!line) {
        return false;
    }
    EraseLines({*line});
    return true;
}

bool ProfileDocument::DeleteSection(std::string_view section) {
    const auto span = FindSection(section);
    if (!span) {
        return false;
    }
    std::vector<std::size_t> doomed{span->header};
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        const Kind kind = lines_[i].kind;
        if (kind == Kind::Key || kind == Kind::Other) {
            doomed.push_back(i);
        }
    }
    EraseLines(doomed);
    return true;
}

} // namespace kfg::settings
