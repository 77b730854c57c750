#include "app/CommandLine.h"

#include "app/PasswordGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

// An in-memory file that collects what the command line writes to it.
class TCapture {
public:
    TCapture() : m_fd(memfd_create("varnel-capture", 0)) {}
    ~TCapture() { close(m_fd); }
    TCapture(const TCapture&) = delete;
    TCapture& operator=(const TCapture&) = delete;

    int Fd() const { return m_fd; }
    std::string Text() const {
        std::string text;
        char buffer[65536];
        ssize_t got;
        off_t offset = 0;
        while ((got = pread(m_fd, buffer, sizeof buffer, offset)) > 0) {
            text.append(buffer, static_cast<size_t>(got));
            offset += got;
        }
        return text;
    }

private:
    int m_fd;
};

struct TOutcome {
    int Status;
    std::string Out;
    std::string Err;
};

TOutcome RunVarnel(std::vector<std::string_view> args, TRandomSource* systemSource = nullptr) {
    TCapture out;
    TCapture err;
    const int status = RunCommandLine(args, out.Fd(), err.Fd(), systemSource);
    return {status, out.Text(), err.Text()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "output does not end with a line break";
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

size_t LineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

class TBrokenSource final : public TRandomSource {
public:
    bool DrawBelow(uint32_t, std::span<uint32_t>) override {
        m_errorText = "The system's random number generator failed: Function not implemented.";
        return false;
    }
    bool IsReproducible() const override { return false; }
};

} // namespace

TEST(CommandLine, DefaultsAreTheWindowsStartUpSettings) {
    const TOutcome outcome = RunVarnel({"generate"});
    EXPECT_EQ(outcome.Status, kExitSuccess);
    EXPECT_EQ(outcome.Err, "");
    const std::vector<std::string> lines = Lines(outcome.Out);
    ASSERT_EQ(lines.size(), 10u);
    for (const std::string& line : lines) {
        ASSERT_EQ(line.size(), 10u);
        for (char c : line) {
            EXPECT_TRUE(c >= 0x21 && c <= 0x7E);
        }
    }
    EXPECT_NE(RunVarnel({"generate"}).Out, outcome.Out) << "two runs must not repeat themselves";
}

TEST(CommandLine, ReproducibleRunsMatchTheEngineFromStateZeroAndWarn) {
    for (std::vector<std::string_view> args : {std::vector<std::string_view>{"generate", "--reproducible"},
                                               {"generate", "--reproducible", "-n", "25", "-l", "12",
                                                "--variable", "--lower", "--custom", "!!"}}) {
        const TOutcome first = RunVarnel(args);
        EXPECT_EQ(first.Status, kExitSuccess);
        EXPECT_NE(first.Err.find("warning"), std::string::npos);
        EXPECT_EQ(LineCount(first.Err), 1u);
        EXPECT_EQ(RunVarnel(args).Out, first.Out);

        TGenerationRequest request;
        if (args.size() > 2) {
            request.Count = 25;
            request.BaseLength = 12;
            request.VariableLength = true;
            request.AllKeys = false;
            request.LowerCaseLetters = true;
            request.CustomCharacters = "!!";
        }
        TReproducibleRandomSource source;
        std::string expected;
        TPasswordGenerator(source).Generate(request, [&](std::string_view line) {
            expected.append(line).push_back('\n');
            return true;
        });
        EXPECT_EQ(first.Out, expected);
    }
}

TEST(CommandLine, OptionsChooseCountLengthAndCharacters) {
    TOutcome outcome = RunVarnel({"generate", "-n", "3", "--length=5", "--digits"});
    ASSERT_EQ(outcome.Status, kExitSuccess) << outcome.Err;
    std::vector<std::string> lines = Lines(outcome.Out);
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.size(), 5u);
        EXPECT_EQ(line.find_first_not_of("0123456789"), std::string::npos) << line;
    }

    // Naming only custom characters leaves every keyboard set out.
    outcome = RunVarnel({"generate", "--count=20", "-l", "8", "--custom", "ab"});
    ASSERT_EQ(outcome.Status, kExitSuccess) << outcome.Err;
    for (const std::string& line : Lines(outcome.Out)) {
        EXPECT_EQ(line.find_first_not_of("ab"), std::string::npos) << line;
    }

    outcome = RunVarnel(
        {"generate", "-n", "200", "-l", "4", "--variable", "--upper", "--special", "--custom=\xC3\xA9"});
    ASSERT_EQ(outcome.Status, kExitSuccess) << outcome.Err;
    lines = Lines(outcome.Out);
    ASSERT_EQ(lines.size(), 200u);
    for (const std::string& line : lines) {
        EXPECT_GE(line.size(), 1u);
        EXPECT_LE(line.size(), 8u);
        EXPECT_EQ(line.find_first_of("0123456789abcdefghijklmnopqrstuvwxyz"), std::string::npos);
    }

    EXPECT_EQ(LineCount(RunVarnel({"generate", "-n7", "-l3"}).Out), 7u);
    EXPECT_EQ(RunVarnel({"generate", "-n", "0"}).Out, "");
    EXPECT_EQ(RunVarnel({"generate", "-l", "0", "-n", "2", "--all"}).Out, "\n\n");
}

TEST(CommandLine, LongListsArriveWholeThroughBlockWrites) {
    const TOutcome outcome = RunVarnel({"generate", "-n", "100000", "-l", "16"});
    ASSERT_EQ(outcome.Status, kExitSuccess);
    ASSERT_EQ(outcome.Out.size(), 100000u * 17);
    for (size_t i = 16; i < outcome.Out.size(); i += 17) {
        ASSERT_EQ(outcome.Out[i], '\n') << "at " << i;
    }
}

TEST(CommandLine, BadInputIsOneLineOnStandardErrorAndNothingElse) {
    const std::vector<std::vector<std::string_view>> cases = {
        {"generate", "-n", "abc"},
        {"generate", "-n", "-1"},
        {"generate", "-n-1"},
        {"generate", "--count", ""},
        {"generate", "--count", "12x"},
        {"generate", "--count", "99999999999999999999"},
        {"generate", "-l", "-3"},
        {"generate", "--count"},
        {"generate", "--custom"},
        {"generate", "--bogus"},
        {"generate", "extra"},
        {"generate", "--variable=yes"},
        {"generate", "--all", "--digits"},
        {"generate", "--custom", "x", "--all"},
        {"generate", "--custom", ""},
        {"generate", "--custom", "\r\n"},
        {"generate", "--custom", "\xFF"},
        {"generate", "-l", "999999999"},
        {"generate", "--reproducible", "--custom", ""},
        {"frobnicate"},
        // Exclusion, look-alikes and EachSet, also when no password is asked for.
        {"generate", "--digits", "--exclude", "0123456789"},
        {"generate", "--custom", "0O1l", "--no-lookalikes"},
        {"generate", "-n", "0", "--lower", "--exclude=abcdefghijklmnopqrstuvwxyz"},
        {"generate", "--exclude", "\xFF"},
        {"generate", "--exclude", "ab\xE2\x82"},
        {"generate", "--exclude"},
        {"generate", "--no-lookalikes=yes"},
        {"generate", "--each-set=1"},
        {"generate", "--entropy=on"},
        {"generate", "--each-set", "-l", "3"},
        {"generate", "--each-set", "-l", "0", "-n", "0"},
        {"generate", "--each-set", "--digits", "--lower", "-l", "1"},
        {"generate", "--each-set", "--variable", "-l", "3"},
        {"generate", "--each-set", "--custom", "abc"},
        {"generate", "--each-set", "--digits", "--lower", "--exclude", "0123456789"},
        {"generate", "--each-set", "--no-lookalikes", "--digits", "--exclude", "23456789"},
        {"generate", "--entropy", "--each-set", "--all", "-l", "2"},
    };
    for (const std::vector<std::string_view>& args : cases) {
        std::string joined;
        for (std::string_view arg : args) {
            joined.append(arg).push_back(' ');
        }
        const TOutcome outcome = RunVarnel(args);
        EXPECT_EQ(outcome.Status, kExitUsage) << joined;
        EXPECT_EQ(outcome.Out, "") << joined;
        EXPECT_EQ(LineCount(outcome.Err), 1u) << joined << "\n" << outcome.Err;
        EXPECT_TRUE(outcome.Err.starts_with("varnel: ")) << outcome.Err;
    }
    EXPECT_NE(RunVarnel({"generate", "--custom", ""}).Err.find("no characters"), std::string::npos);
    EXPECT_NE(RunVarnel({"generate", "--digits", "--exclude", "0123456789"}).Err.find("leave no characters"),
              std::string::npos);
    EXPECT_NE(RunVarnel({"generate", "--exclude", "\xFF"}).Err.find("--exclude"), std::string::npos);
    EXPECT_NE(RunVarnel({"generate", "--each-set", "-l", "3"}).Err.find("at least 4 characters"),
              std::string::npos);
    EXPECT_NE(RunVarnel({"generate", "--each-set", "--upper", "--lower", "--exclude", kUpperCaseLetters})
                  .Err.find("no upper-case letters are left"),
              std::string::npos);
}

TEST(CommandLine, ExclusionLookalikesAndEachSetShapeThePasswords) {
    TOutcome outcome = RunVarnel({"generate", "-n", "300", "-l", "20", "--exclude", "abc", "--exclude=XYZ"});
    ASSERT_EQ(outcome.Status, kExitSuccess) << outcome.Err;
    for (const std::string& line : Lines(outcome.Out)) {
        EXPECT_EQ(line.find_first_of("abcXYZ"), std::string::npos) << line;
    }

    outcome = RunVarnel({"generate", "-n", "300", "-l", "20", "--no-lookalikes"});
    ASSERT_EQ(outcome.Status, kExitSuccess) << outcome.Err;
    for (const std::string& line : Lines(outcome.Out)) {
        EXPECT_EQ(line.find_first_of("01OoIl|`'\",."), std::string::npos) << line;
    }

    outcome = RunVarnel({"generate", "-n", "300", "-l", "2", "--each-set", "--digits", "--upper"});
    ASSERT_EQ(outcome.Status, kExitSuccess) << outcome.Err;
    ASSERT_EQ(LineCount(outcome.Out), 300u);
    for (const std::string& line : Lines(outcome.Out)) {
        EXPECT_NE(line.find_first_of(kDigits), std::string::npos) << line;
        EXPECT_NE(line.find_first_of(kUpperCaseLetters), std::string::npos) << line;
    }

    outcome = RunVarnel({"generate", "-n", "300", "-l", "5", "--variable", "--each-set"});
    ASSERT_EQ(outcome.Status, kExitSuccess) << outcome.Err;
    for (const std::string& line : Lines(outcome.Out)) {
        EXPECT_GE(line.size(), 4u);
        EXPECT_LE(line.size(), 5u);
        for (std::string_view set : kFixedSets) {
            EXPECT_NE(line.find_first_of(set), std::string::npos) << line;
        }
    }
}

std::string OneDecimal(double bits) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", bits);
    return text;
}

std::string EntropyLine(double bits) {
    return "varnel: entropy of one password: " + OneDecimal(bits) + " bits.\n";
}

TEST(CommandLine, EntropyIsOneLineOnStandardErrorBesideThePasswords) {
    TOutcome outcome = RunVarnel({"generate", "--entropy"});
    EXPECT_EQ(outcome.Status, kExitSuccess);
    EXPECT_EQ(LineCount(outcome.Out), 10u);
    EXPECT_EQ(outcome.Err, EntropyLine(10 * std::log2(94.0)));

    // 36^3 passwords less the 26^3 without a digit and the 10^3 without a letter.
    outcome = RunVarnel({"generate", "--entropy", "-n", "0", "--each-set", "--digits", "--lower", "-l", "3"});
    EXPECT_EQ(outcome.Status, kExitSuccess);
    EXPECT_EQ(outcome.Out, "");
    EXPECT_EQ(outcome.Err, EntropyLine(std::log2(36.0 * 36 * 36 - 26 * 26 * 26 - 10 * 10 * 10)));

    // a twice as likely as b, four times over.
    outcome = RunVarnel({"generate", "--entropy", "-n", "0", "--custom", "aab", "-l", "4"});
    EXPECT_EQ(outcome.Err, EntropyLine(4 * (2.0 / 3 * std::log2(1.5) + 1.0 / 3 * std::log2(3.0))));

    // Lengths 1 to 3 equally likely, then 2 digits on average.
    outcome = RunVarnel({"generate", "--entropy", "-n", "0", "--digits", "--variable", "-l", "3"});
    EXPECT_EQ(outcome.Err, EntropyLine(std::log2(3.0) + 2 * std::log2(10.0)));

    // Passwords that every run repeats hold nothing unknown; the line says so beside the warning.
    outcome = RunVarnel({"generate", "--entropy", "--reproducible", "-n", "2"});
    EXPECT_EQ(outcome.Status, kExitSuccess);
    const std::vector<std::string> lines = Lines(outcome.Err);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].starts_with("varnel: entropy of one password: 0.0 bits under --reproducible (" +
                                     OneDecimal(10 * std::log2(94.0)) + " bits"))
        << lines[0];
    EXPECT_NE(lines[1].find("warning"), std::string::npos);
}

TEST(CommandLine, HelpVersionAndNoCommand) {
    EXPECT_EQ(RunVarnel({"--version"}).Out, "Varnel V1.0\n");
    EXPECT_EQ(RunVarnel({"--version"}).Status, kExitSuccess);

    const TOutcome help = RunVarnel({"--help"});
    EXPECT_EQ(help.Status, kExitSuccess);
    EXPECT_NE(help.Out.find("varnel generate"), std::string::npos);

    const TOutcome generateHelp = RunVarnel({"generate", "--count", "3", "--help"});
    EXPECT_EQ(generateHelp.Status, kExitSuccess);
    for (const char* option :
         {"--count", "--length", "--variable", "--all", "--digits", "--lower", "--upper", "--special",
          "--custom", "--reproducible", "--exclude", "--no-lookalikes", "--each-set", "--entropy"}) {
        EXPECT_NE(generateHelp.Out.find(option), std::string::npos) << option;
    }
    // Each new option has an example, and the look-alikes are listed where the option is explained.
    const size_t examples = generateHelp.Out.find("Examples:");
    ASSERT_NE(examples, std::string::npos);
    for (const char* example : {"varnel generate --exclude", "varnel generate --no-lookalikes",
                                "varnel generate --each-set", "varnel generate --entropy"}) {
        EXPECT_NE(generateHelp.Out.find(example, examples), std::string::npos) << example;
    }
    EXPECT_NE(generateHelp.Out.find("entropy of one password: " + OneDecimal(10 * std::log2(94.0)) + " bits"),
              std::string::npos)
        << "the example's figure is the defaults' entropy";
    const size_t lookalikes = generateHelp.Out.find("--no-lookalikes");
    const std::string explained =
        generateHelp.Out.substr(lookalikes, generateHelp.Out.find("--each-set") - lookalikes);
    for (char c : std::string("0O1Il|o`'\",.")) {
        EXPECT_NE(explained.find(std::string(" ") + c), std::string::npos) << c;
    }

    // The program's own help lists the window with its options and the command line.
    EXPECT_NE(help.Out.find("varnel [WINDOW OPTIONS]"), std::string::npos);
    for (const char* option : {"--reproducible", "--look LOOK", "--theme FILE", "varnel-theme"}) {
        EXPECT_NE(help.Out.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(help.Out.find("not built"), std::string::npos);

    const TOutcome bare = RunVarnel({});
    EXPECT_EQ(bare.Status, kExitUsage);
    EXPECT_EQ(bare.Out, "");
    EXPECT_NE(bare.Err.find("varnel --help"), std::string::npos);
}

TEST(CommandLine, ArgumentsChooseBetweenTheWindowAndTheCommandLine) {
    const auto classify = [](std::vector<std::string_view> args, TWindowOptions& options,
                             std::string& error) { return ClassifyArguments(args, options, error); };
    TWindowOptions options;
    std::string error;
    EXPECT_EQ(classify({}, options, error), TRunKind::Window);
    EXPECT_FALSE(options.Reproducible);
    EXPECT_EQ(classify({"--reproducible"}, options, error), TRunKind::Window);
    EXPECT_TRUE(options.Reproducible);
    for (std::vector<std::string_view> command : {std::vector<std::string_view>{"generate", "-n", "3"},
                                                  {"--help"},
                                                  {"-h"},
                                                  {"--version"},
                                                  {"help"},
                                                  {"frobnicate"}}) {
        TWindowOptions untouched;
        EXPECT_EQ(classify(command, untouched, error), TRunKind::Command) << command[0];
        EXPECT_FALSE(untouched.Reproducible);
    }
    TWindowOptions bad;
    EXPECT_EQ(classify({"--reproducible", "--colour"}, bad, error), TRunKind::Invalid);
    EXPECT_NE(error.find("'--colour'"), std::string::npos);
}

TEST(CommandLine, ALookOrAThemeFileIsAWindowOption) {
    const auto classify = [](std::vector<std::string_view> args, TWindowOptions& options,
                             std::string& error) { return ClassifyArguments(args, options, error); };
    const struct {
        std::vector<std::string_view> Args;
        TsuiUIStyle Look;
        std::string ThemeFile;
        bool Reproducible;
    } accepted[] = {
        {{"--look", "WinXP"}, WinXP, "", false},
        {{"--look=blueglass"}, BlueGlass, "", false},
        {{"--reproducible", "--look", "macos"}, MacOS, "", true},
        {{"--theme", "my.theme", "--reproducible"}, FromThemeFile, "my.theme", true},
        {{"--theme=/themes/a b.theme"}, FromThemeFile, "/themes/a b.theme", false},
        // A file named like an option or a look is still a file.
        {{"--theme", "--look"}, FromThemeFile, "--look", false},
    };
    for (const auto& c : accepted) {
        SCOPED_TRACE(c.Args[0]);
        TWindowOptions options;
        std::string error;
        ASSERT_EQ(classify(c.Args, options, error), TRunKind::Window) << error;
        EXPECT_EQ(options.Look, c.Look);
        EXPECT_EQ(options.ThemeFile, c.ThemeFile);
        EXPECT_EQ(options.Reproducible, c.Reproducible);
    }

    const struct {
        std::vector<std::string_view> Args;
        const char* Says;
    } refused[] = {
        {{"--look"}, "--look needs a look: MacOS, WinXP, DeepBlue, Protein, BlueGlass"},
        {{"--look="}, "--look needs a look"},
        {{"--theme"}, "--theme needs a theme file"},
        {{"--look", "Aqua"}, "'Aqua' is not a look; --look takes one of MacOS, WinXP"},
        {{"--look", "FromThemeFile"}, "'FromThemeFile' is not a look"},
        {{"--look", "WinXP", "--theme", "my.theme"}, "one look only"},
        {{"--look", "WinXP", "--look", "MacOS"}, "one look only"},
        {{"--looks", "WinXP"}, "unknown option '--looks'"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.Args.back());
        TWindowOptions options;
        std::string error;
        EXPECT_EQ(classify(c.Args, options, error), TRunKind::Invalid);
        EXPECT_TRUE(error.starts_with("varnel: ")) << error;
        EXPECT_NE(error.find(c.Says), std::string::npos) << error;
        EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
    }
}

TEST(CommandLine, ClosedPipeEndsQuietlyWithFailure) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    TCapture err;
    const std::vector<std::string_view> args = {"generate", "-n", "100000000000", "-l", "16"};
    const int status = RunCommandLine(args, fds[1], err.Fd());
    close(fds[1]);
    EXPECT_EQ(status, kExitFailure);
    EXPECT_EQ(err.Text(), "");
}

TEST(CommandLine, OtherWriteFailuresAreReported) {
    const int readOnly = open("/dev/null", O_RDONLY);
    ASSERT_GE(readOnly, 0);
    TCapture err;
    const std::vector<std::string_view> args = {"generate"};
    EXPECT_EQ(RunCommandLine(args, readOnly, err.Fd()), kExitFailure);
    close(readOnly);
    EXPECT_NE(err.Text().find("cannot write the passwords"), std::string::npos);
}

TEST(CommandLine, RandomSourceFailureIsAnErrorNotAFallback) {
    TBrokenSource broken;
    const TOutcome outcome = RunVarnel({"generate"}, &broken);
    EXPECT_EQ(outcome.Status, kExitFailure);
    EXPECT_EQ(outcome.Out, "");
    EXPECT_NE(outcome.Err.find("random number generator failed"), std::string::npos);
}
