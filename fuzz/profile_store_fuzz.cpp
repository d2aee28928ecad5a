// Fuzzes the profile store with an arbitrary file image and one write, checking what a user
// of the file would see: the value reads back as written, a write touches at most one line,
// a refused write leaves the bytes alone, and no temporary file is left behind.
//
// Input layout: image NUL ops NUL section NUL key NUL value. The last four NULs split it, so
// the image may hold NULs of its own. With fewer than four NULs the whole input is the image
// and a fixed write is used, so any INI file works as a seed.

#include "settings/profile_store.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using kfg::settings::ProfileStore;

// Any failed check ends the run so libFuzzer records the input as a crash.
void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "profile_store_fuzz: check failed: %s\n", what);
        std::abort();
    }
}

// One folder per fuzzing process, removed when the process ends. tmpfs is preferred because
// every replacement flushes to disk, which would otherwise dominate the run time.
class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code error;
        fs::path base = "/dev/shm";
        if (!fs::is_directory(base, error) || access(base.c_str(), W_OK) != 0) {
            base = fs::temp_directory_path(error);
        }
        std::string pattern = (base / "kfg-fuzz-XXXXXX").string();
        Require(mkdtemp(pattern.data()) != nullptr, "scratch folder can be created");
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

struct Script {
    std::string image;
    unsigned ops = 0;
    std::string section = "Telvio";
    std::string key = "Farbe";
    std::string value = "254";
};

Script Parse(std::string_view input) {
    Script script;
    std::array<std::size_t, 4> cuts{};
    std::size_t end = input.size();
    for (std::size_t i = 4; i-- > 0;) {
        const std::size_t cut = end == 0 ? std::string_view::npos : input.rfind('\0', end - 1);
        if (cut == std::string_view::npos) {
            script.image = std::string(input);
            return script;
        }
        cuts[i] = cut;
        end = cut;
    }
    auto field = [&](std::size_t i) {
        const std::size_t from = cuts[i] + 1;
        const std::size_t to = i + 1 < cuts.size() ? cuts[i + 1] : input.size();
        return std::string(input.substr(from, to - from));
    };
    script.image = std::string(input.substr(0, cuts[0]));
    const std::string ops = field(0);
    script.ops = ops.empty() ? 0U : static_cast<unsigned char>(ops[0]);
    script.section = field(1);
    script.key = field(2);
    script.value = field(3);
    return script;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

std::string Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::string Without(std::string text, std::string_view unwanted) {
    std::erase_if(text, [&](char c) { return unwanted.find(c) != std::string_view::npos; });
    return text;
}

// Makes the names and the value ones the store must accept: no line breaks, no "=" in the key,
// no "]" in the section, no header or comment look-alike key, no surrounding blanks.
void MakeWritable(Script& script) {
    script.section = Trim(Without(script.section, "\r\n]"));
    script.key = Without(script.key, "\r\n=");
    std::string key = Trim(script.key);
    while (!key.empty() && (key.front() == '[' || key.front() == ';')) {
        key = Trim(key.substr(1));
    }
    script.key = key;
    script.value = Without(script.value, "\r\n");
    if (script.section.empty()) {
        script.section = "S";
    }
    if (script.key.empty()) {
        script.key = "k";
    }
}

// What a read returns for a value written as `value`: blanks trimmed, then one matching pair
// of outer quotes removed.
std::string AsRead(std::string_view value) {
    std::string text = Trim(value);
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

std::string AsciiUpper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

std::size_t CountLineEnds(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), IsLineEnd));
}

// Splits the difference between two images: the longest common prefix, then the longest
// common suffix that does not overlap it. What lies between is what changed on each side.
struct Difference {
    std::string_view removed;
    std::string_view inserted;
};

Difference Diff(std::string_view before, std::string_view after) {
    const std::size_t limit = std::min(before.size(), after.size());
    std::size_t prefix = 0;
    while (prefix < limit && before[prefix] == after[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (prefix + suffix < limit &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    return {before.substr(prefix, before.size() - prefix - suffix),
            after.substr(prefix, after.size() - prefix - suffix)};
}

bool IsSubsequence(std::string_view part, std::string_view whole) {
    std::size_t at = 0;
    for (char c : whole) {
        if (at < part.size() && part[at] == c) {
            ++at;
        }
    }
    return at == part.size();
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    Require(static_cast<bool>(out), "image can be written");
}

// A replacement must leave nothing but the file itself in the folder.
void RequireOnlyFile(const fs::path& folder, bool fileExpected) {
    std::error_code error;
    std::size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        (void)entry;
        ++entries;
    }
    Require(!error, "scratch folder can be listed");
    Require(entries == (fileExpected ? 1U : 0U), "no temporary file is left behind");
}

// Reads must not crash, a cut read is a prefix of the whole value, and ASCII case of the names
// does not matter.
void ProbeReads(ProfileStore& store, const fs::path& file, const Script& script) {
    const std::string whole = store.GetString(file, script.section, script.key, "", 1 << 20);
    for (std::size_t size : {0U, 1U, 2U, 20U}) {
        const std::string cut = store.GetString(file, script.section, script.key, "", size);
        const std::size_t expected = size == 0 ? 0 : std::min(whole.size(), size - 1);
        Require(cut == whole.substr(0, expected), "a short buffer cuts the value");
    }
    Require(store.GetString(file, AsciiUpper(script.section), AsciiUpper(script.key), "",
                            1 << 20) == whole,
            "names compare without regard to case");
    (void)store.GetInt(file, script.section, script.key, -1);
    (void)store.GetString(file, "Telvio", "Farbe", "254  ", 20);
}

void CheckUtf16(ProfileStore& store, const fs::path& file, const Script& script) {
    Require(store.GetString(file, script.section, script.key, "default", 100) == "default",
            "a UTF-16 file reads as defaults");
    Require(static_cast<bool>(store.WriteString(file, script.section, script.key, script.value)),
            "a write to a UTF-16 file fails");
    (void)store.DeleteKey(file, script.section, script.key);
    (void)store.DeleteSection(file, script.section);
    Require(ReadFile(file) == script.image, "a UTF-16 file stays untouched");
}

void CheckWrite(ProfileStore& store, const fs::path& file, const Script& script, bool fileExisted) {
    const std::string before = fileExisted ? script.image : std::string();
    const bool gathered = (script.ops & 8U) != 0;
    std::error_code error;
    if (gathered) {
        auto scope = store.Gather();
        error = store.WriteString(file, script.section, script.key, script.value);
        if (!error) {
            Require(store.GetString(file, script.section, script.key, "", 1 << 20) ==
                        AsRead(script.value),
                    "a gathered write is seen by reads at once");
        }
    } else {
        error = store.WriteString(file, script.section, script.key, script.value);
    }
    Require(!error, "a write of acceptable names succeeds");
    RequireOnlyFile(file.parent_path(), true);

    const std::string after = ReadFile(file);
    Require(store.GetString(file, script.section, script.key, "", 1 << 20) == AsRead(script.value),
            "the value reads back as written");
    ProfileStore fresh;
    Require(fresh.GetString(file, script.section, script.key, "", 1 << 20) == AsRead(script.value),
            "the value on disk reads back as written");
    Require(after.find(script.value) != std::string::npos, "the value is stored as given");

    // Only one line of the old file may change: the removed bytes hold no line end, and the
    // inserted ones at most three (a line end for an unterminated last line, a header, a key).
    const Difference difference = Diff(before, after);
    Require(CountLineEnds(difference.removed) == 0, "a write touches at most one line");
    Require(CountLineEnds(difference.inserted) <= 6, "a write adds at most two lines");

    if ((script.ops & 1U) != 0) {
        Require(!store.DeleteKey(file, script.section, script.key), "a key delete succeeds");
        RequireOnlyFile(file.parent_path(), true);
        const std::string deleted = ReadFile(file);
        const Difference gone = Diff(after, deleted);
        Require(deleted.size() < after.size() && gone.inserted.empty(),
                "a key delete removes exactly one stretch of bytes");
    }
    if ((script.ops & 2U) != 0) {
        const std::string current = ReadFile(file);
        Require(!store.DeleteSection(file, script.section), "a section delete succeeds");
        RequireOnlyFile(file.parent_path(), true);
        const std::string deleted = ReadFile(file);
        Require(deleted.size() < current.size() && IsSubsequence(deleted, current),
                "a section delete only removes bytes");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFolder folder;
    const fs::path file = folder.path() / "Telvio.ini";

    Script script = Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string rawSection = script.section;
    const std::string rawKey = script.key;
    MakeWritable(script);

    std::error_code error;
    fs::remove(file, error);
    const bool fileExisted = (script.ops & 4U) == 0;
    if (fileExisted) {
        WriteFile(file, script.image);
    }

    // A fresh store per input: the cache must never mix two images.
    int failures = 0;
    ProfileStore store([&failures](const kfg::settings::ProfileFailure&) { ++failures; });
    ProbeReads(store, file, script);

    const bool utf16 = fileExisted && script.image.size() >= 2 &&
                       static_cast<unsigned char>(script.image[0]) == 0xFF &&
                       static_cast<unsigned char>(script.image[1]) == 0xFE;

    // Deletes never refuse; names that cannot stand in the file are simply absent.
    if ((script.ops & 16U) != 0) {
        const std::error_code keyError = store.DeleteKey(file, rawSection, rawKey);
        const std::error_code sectionError = store.DeleteSection(file, rawSection);
        Require(utf16 || (!keyError && !sectionError), "a delete never refuses");
        RequireOnlyFile(folder.path(), fileExisted);
        if (fileExisted) {
            script.image = ReadFile(file);
        }
    }

    if (utf16) {
        CheckUtf16(store, file, script);
    } else {
        failures = 0;
        CheckWrite(store, file, script, fileExisted);
        Require(failures == 0, "no failure reaches the sink for an acceptable write");
    }
    return 0;
}
