// glimmer-convert's command-line parsing: option forms, their values, and usage errors.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include "cli/cli_texts.h"

namespace {

// The error as the program words it in English.
std::string English(const UsageError& error)
{
    return TextOf(Language::English, error.text, error.words);
}

CliOptions Parse(const std::vector<std::string>& args)
{
    CliOptions options;
    ::UsageError error;
    EXPECT_TRUE(ParseOptions(args, options, error)) << English(error);
    return options;
}

std::string UsageError(const std::vector<std::string>& args)
{
    CliOptions options;
    ::UsageError error;
    EXPECT_FALSE(ParseOptions(args, options, error));
    return English(error);
}

TEST(CliOptions, DefaultsWriteIntoTheCurrentFolderAndLeaveTheOverwriteModeOpen)
{
    const CliOptions options = Parse({"a.cam"});
    EXPECT_EQ(options.paths, std::vector<std::string>{"a.cam"});
    EXPECT_EQ(options.output, ".");
    EXPECT_EQ(options.overwrite, Overwrite::Unset);
    EXPECT_FALSE(options.recursive);
    EXPECT_FALSE(options.quiet);
}

TEST(CliOptions, AcceptsShortGroupedAndLongForms)
{
    const CliOptions grouped = Parse({"-rqo", "out", "card"});
    EXPECT_TRUE(grouped.recursive);
    EXPECT_TRUE(grouped.quiet);
    EXPECT_EQ(grouped.output, "out");
    EXPECT_EQ(grouped.paths, std::vector<std::string>{"card"});

    EXPECT_EQ(Parse({"-oout", "x"}).output, "out");
    EXPECT_EQ(Parse({"--output=dir one", "x"}).output, "dir one");
    EXPECT_EQ(Parse({"x", "--output", "d"}).output, "d");
    EXPECT_EQ(Parse({"--overwrite=replace", "x"}).overwrite, Overwrite::Replace);
    EXPECT_EQ(Parse({"--overwrite", "skip", "x"}).overwrite, Overwrite::Skip);
    EXPECT_EQ(Parse({"--overwrite=ask", "x"}).overwrite, Overwrite::Ask);
    EXPECT_TRUE(Parse({"--recursive", "--quiet", "x"}).quiet);
}

TEST(CliOptions, JobsInEveryFormWithinTheirBounds)
{
    EXPECT_EQ(Parse({"x"}).jobs, 0u);
    EXPECT_EQ(Parse({"-j", "3", "x"}).jobs, 3u);
    EXPECT_EQ(Parse({"-j12", "x"}).jobs, 12u);
    EXPECT_EQ(Parse({"-rj", "2", "x"}).jobs, 2u);
    EXPECT_EQ(Parse({"--jobs=1", "x"}).jobs, 1u);
    EXPECT_EQ(Parse({"--jobs", "128", "x"}).jobs, 128u);
    for (const char* bad : {"0", "129", "", "two", "3x", "-1", "99999999999999999999"}) {
        EXPECT_NE(UsageError({std::string("--jobs=") + bad, "x"}).find("--jobs"), std::string::npos)
            << bad;
    }
    EXPECT_NE(UsageError({"x", "-j"}).find("-j"), std::string::npos);
}

TEST(CliOptions, PathsMayLookLikeOptionsAfterTheEndMarker)
{
    const CliOptions options = Parse({"-", "--", "-r", "--help"});
    EXPECT_EQ(options.paths, (std::vector<std::string>{"-", "-r", "--help"}));
    EXPECT_FALSE(options.recursive);
    EXPECT_FALSE(options.help);
}

TEST(CliOptions, HelpAndVersionNeedNoPath)
{
    EXPECT_TRUE(Parse({"--help"}).help);
    EXPECT_TRUE(Parse({"-h"}).help);
    EXPECT_TRUE(Parse({"--version"}).version);
}

TEST(CliOptions, ReportsUsageErrorsNamingTheCulprit)
{
    EXPECT_NE(UsageError({}).find("no CAM file"), std::string::npos);
    EXPECT_NE(UsageError({"-x", "a"}).find("-x"), std::string::npos);
    EXPECT_NE(UsageError({"--colour", "a"}).find("--colour"), std::string::npos);
    EXPECT_NE(UsageError({"a", "-o"}).find("-o"), std::string::npos);
    EXPECT_NE(UsageError({"a", "--output"}).find("--output"), std::string::npos);
    EXPECT_NE(UsageError({"a", "--overwrite"}).find("--overwrite"), std::string::npos);
    EXPECT_NE(UsageError({"--overwrite=always", "a"}).find("always"), std::string::npos);
    EXPECT_NE(UsageError({"--quiet=yes", "a"}).find("--quiet"), std::string::npos);
    EXPECT_NE(UsageError({"--output=", "a"}).find("output"), std::string::npos);
}

}  // namespace
