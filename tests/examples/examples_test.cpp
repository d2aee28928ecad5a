#include "settings/profile_store.h"
#include "support/temp_dir.h"
#include "telvio/edition_detection.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <string>

// The sample folders shipped in examples/ must stay what their README promises: each one is
// detected as its edition, and its files look as the Windows viewer writes them.

namespace kfg::telvio {
namespace {

const std::filesystem::path kExamples = KFG_EXAMPLES_DIR;

struct Example {
    const char* folder;
    Edition edition;
    int indexPrefixFlag;
};

constexpr Example kExampleFolders[] = {
    {.folder = "V283", .edition = Edition::V283, .indexPrefixFlag = kIndexPrefixTelvio},
    {.folder = "Erazor",
     .edition = Edition::Erazor,
     .indexPrefixFlag = kIndexPrefixTelvioUnderscore},
    {.folder = "V31", .edition = Edition::V31, .indexPrefixFlag = kIndexPrefixTelvioUnderscore},
    {.folder = "V311", .edition = Edition::V311, .indexPrefixFlag = kIndexPrefixTelvioUnderscore},
    {.folder = "V283Quik", .edition = Edition::V283Quik, .indexPrefixFlag = kIndexPrefixTelvio},
    {.folder = "V320", .edition = Edition::V320, .indexPrefixFlag = kIndexPrefixTelvioUnderscore},
};

// Each folder is detected as its edition, and each file is as the viewer writes it: settings
// with CR LF line ends, stand-ins that can be started (one that lost its executable bit in a
// checkout without modes cannot), and index files with the edition's prefix (any other would
// silently never be listed).
TEST(Examples, EachFolderIsItsEditionAsTheViewerWroteIt) {
    for (const Example& example : kExampleFolders) {
        SCOPED_TRACE(example.folder);
        settings::ProfileStore store;
        const EditionDetection result = DetectEdition(kExamples / example.folder, store);
        EXPECT_TRUE(result.fileFound);
        // As numbers, so a failure names the editions readably.
        EXPECT_EQ(static_cast<int>(result.edition), static_cast<int>(example.edition));
        EXPECT_EQ(result.indexPrefixFlag, example.indexPrefixFlag);
        const std::regex index(
            std::string(example.indexPrefixFlag == kIndexPrefixTelvio ? "Telvio" : "Telvio_") +
            "(0[1-9]|[1-9][0-9])\\.idx");
        int standIns = 0;
        for (const auto& entry : std::filesystem::directory_iterator(kExamples / example.folder)) {
            SCOPED_TRACE(entry.path().filename().string());
            const std::string name = entry.path().filename().string();
            const std::string bytes = test::ReadBytes(entry.path());
            if (name.ends_with(".ini")) {
                // Every line ends in CR LF: with those taken out, no CR or LF is left.
                EXPECT_TRUE(bytes.ends_with("\r\n"));
                EXPECT_EQ(std::regex_replace(bytes, std::regex("\r\n"), "").find_first_of("\r\n"),
                          std::string::npos);
            } else if (name.ends_with(".exe")) {
                ++standIns;
                EXPECT_NE(entry.status().permissions() & std::filesystem::perms::owner_exec,
                          std::filesystem::perms::none);
                EXPECT_TRUE(bytes.starts_with("#!/bin/sh\n"));
            } else {
                EXPECT_TRUE(std::regex_match(name, index));
            }
        }
        EXPECT_EQ(standIns, 4); // Telvio, 2QUIK!, Sonora, Tonalix
    }
}

} // namespace
} // namespace kfg::telvio
