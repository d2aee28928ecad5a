#include "settings/edition_detection.h"
#include "settings/profile_store.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <string_view>

// The sample folders shipped in examples/ must stay what their README promises: each one is
// detected as its edition, and its files look as the Windows viewer writes them.

namespace kfg::settings {
namespace {

const std::filesystem::path kExamples = KFG_EXAMPLES_DIR;

struct Example {
    const char* folder;
    Edition edition;
    int indexPrefixFlag;
};

constexpr Example kExampleFolders[] = {
    {"V283", Edition::V283, kIndexPrefixTelvio},
    {"Erazor", Edition::Erazor, kIndexPrefixTelvioUnderscore},
    {"V31", Edition::V31, kIndexPrefixTelvioUnderscore},
    {"V311", Edition::V311, kIndexPrefixTelvioUnderscore},
    {"V283Quik", Edition::V283Quik, kIndexPrefixTelvio},
    {"V320", Edition::V320, kIndexPrefixTelvioUnderscore},
};

constexpr const char* kStandIns[] = {"Telvio.exe", "2QUIK!.exe", "Sonora.exe", "Tonalix.exe"};

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// True when every line ends in CR LF: no lone CR, no lone LF, no unterminated last line.
bool OnlyCrLf(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool crBeforeLf = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
        const bool lfAfterCr = bytes[i] == '\n' && i > 0 && bytes[i - 1] == '\r';
        if ((bytes[i] == '\r' && !crBeforeLf) || (bytes[i] == '\n' && !lfAfterCr)) {
            return false;
        }
    }
    return bytes.empty() || bytes.back() == '\n';
}

// An index file the scan would find: prefix, two digits 01..99, ".idx".
bool IsIndexFileName(const std::string& name, int indexPrefixFlag) {
    const std::string prefix = indexPrefixFlag == kIndexPrefixTelvio ? "Telvio" : "Telvio_";
    if (name.size() != prefix.size() + 6 || !name.starts_with(prefix) || !name.ends_with(".idx")) {
        return false;
    }
    const char tens = name[prefix.size()];
    const char ones = name[prefix.size() + 1];
    return tens >= '0' && tens <= '9' && ones >= '0' && ones <= '9' && (tens != '0' || ones != '0');
}

TEST(Examples, EachFolderIsDetectedAsItsEdition) {
    for (const Example& example : kExampleFolders) {
        SCOPED_TRACE(example.folder);
        ProfileStore store;
        const EditionDetection result = DetectEdition(kExamples / example.folder, store);
        EXPECT_TRUE(result.fileFound);
        // As numbers, so a failure names the editions readably.
        EXPECT_EQ(static_cast<int>(result.edition), static_cast<int>(example.edition));
        EXPECT_EQ(result.indexPrefixFlag, example.indexPrefixFlag);
    }
}

TEST(Examples, SettingsFilesUseCrLfLineEnds) {
    for (const Example& example : kExampleFolders) {
        for (const char* name : {"Telvio.ini", "KFG.ini"}) {
            const std::filesystem::path file = kExamples / example.folder / name;
            if (name == std::string_view("KFG.ini") && !std::filesystem::exists(file)) {
                continue; // the folders without it show the first-run prompts
            }
            SCOPED_TRACE(file.string());
            const std::string bytes = ReadBytes(file);
            EXPECT_FALSE(bytes.empty());
            EXPECT_TRUE(OnlyCrLf(bytes));
        }
    }
}

// A stand-in that lost its executable bit (a checkout without modes, say) cannot be started.
TEST(Examples, StandInProgramsAreExecutableScripts) {
    for (const Example& example : kExampleFolders) {
        for (const char* program : kStandIns) {
            const std::filesystem::path file = kExamples / example.folder / program;
            SCOPED_TRACE(file.string());
            const std::filesystem::perms perms = std::filesystem::status(file).permissions();
            EXPECT_NE(perms & std::filesystem::perms::owner_exec, std::filesystem::perms::none);
            EXPECT_TRUE(ReadBytes(file).starts_with("#!/bin/sh\n"));
        }
    }
}

// An index file with the other edition family's prefix would silently never be listed.
TEST(Examples, IndexFilesCarryTheEditionsPrefix) {
    for (const Example& example : kExampleFolders) {
        for (const auto& entry : std::filesystem::directory_iterator(kExamples / example.folder)) {
            const std::string name = entry.path().filename().string();
            if (entry.path().extension() == ".idx") {
                EXPECT_TRUE(IsIndexFileName(name, example.indexPrefixFlag))
                    << example.folder << "/" << name;
            }
        }
    }
}

} // namespace
} // namespace kfg::settings
