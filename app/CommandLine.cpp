#include "app/CommandLine.h"

#include "app/Entropy.h"
#include "app/PasswordGenerator.h"
#include "skin/core/SUILookOverride.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

constexpr std::string_view kVersionText = "Varnel V1.0\n";

constexpr std::string_view kHelpText =
    "Usage: varnel [WINDOW OPTIONS]    open the password generator's window\n"
    "       varnel generate [OPTIONS]  print passwords, one per line, without a window\n"
    "       varnel --help | --version\n"
    "\n"
    "Window options:\n"
    "      --reproducible  draw from a fixed sequence that is the same in every run, so that a\n"
    "                      list can be reproduced; the caption then ends in \"(reproducible)\".\n"
    "                      Never use such passwords to protect anything\n"
    "      --look LOOK     show every part of the windows in a built-in look: MacOS, WinXP,\n"
    "                      DeepBlue, Protein or BlueGlass (in any letter case), in place of the\n"
    "                      looks the windows are made with\n"
    "      --theme FILE    show every part of the windows in the look a theme file gives; a file\n"
    "                      that cannot be loaded is named in one line, and the program ends with\n"
    "                      status 2 without opening a window\n"
    "\n"
    "Theme files are made, checked and previewed with varnel-theme (see 'varnel-theme --help').\n"
    "\n"
    "Run 'varnel generate --help' for the options of the command line. The window needs a\n"
    "display; without one, 'varnel' says so and ends with status 1.\n";

constexpr std::string_view kGenerateHelpText =
    "Usage: varnel generate [OPTIONS]\n"
    "\n"
    "Prints passwords drawn from the operating system's random generator, one per line.\n"
    "Without options: 10 passwords of 10 characters from all 94 keyboard characters (every\n"
    "printable ASCII character but the space).\n"
    "\n"
    "  -n, --count N       how many passwords to make (default 10; 0 makes none)\n"
    "  -l, --length N      the length of each password (default 10)\n"
    "      --variable      draw each password's length from 1 to the length\n"
    "      --all           use all keyboard characters (the default when no set is named)\n"
    "      --digits        use the digits 0-9\n"
    "      --lower         use the lower-case letters a-z\n"
    "      --upper         use the upper-case letters A-Z\n"
    "      --special       use the 32 special characters `-=[]\\;',./~!@#$%^&*()_+{}|:\"<>?\n"
    "      --custom CHARS  also use these characters; one typed twice is drawn twice as often,\n"
    "                      line breaks are left out\n"
    "      --exclude CHARS leave these characters out, every copy of them, once the sets and the\n"
    "                      --custom characters are put together; may be given more than once\n"
    "      --no-lookalikes leave out the characters easily mistaken for one another in common\n"
    "                      fonts: 0 O o 1 I l | ` ' \" , .\n"
    "      --each-set      put at least one character of every chosen set (all four when none is\n"
    "                      named) into every password. Passwords that miss a set are drawn again\n"
    "                      whole, so every password that holds them all is equally likely. The\n"
    "                      length must be at least the number of sets; under --variable, shorter\n"
    "                      lengths are drawn again\n"
    "      --entropy       print to standard error, once, the entropy of one password in bits,\n"
    "                      counted exactly from how the passwords are drawn\n"
    "      --reproducible  draw from a fixed sequence that is the same in every run, so that a\n"
    "                      list can be reproduced; never use such passwords to protect anything\n"
    "  -h, --help          show this help\n"
    "\n"
    "Naming a set or --custom leaves out the keyboard characters not named.\n"
    "\n"
    "Examples:\n"
    "  varnel generate --exclude '{}[]()<>'      no brackets of any kind\n"
    "  varnel generate --no-lookalikes -l 12     easy to read out and type from paper\n"
    "  varnel generate --each-set --lower --digits -l 8\n"
    "                                            every password has a letter and a digit\n"
    "  varnel generate --entropy -n 0            prints 'entropy of one password: 65.5 bits'\n"
    "\n"
    "Exit status: 0 on success, 1 when the random generator or the output fails, 2 on bad usage.\n";

constexpr std::string_view kNoCommandText = "varnel: no command given. Try 'varnel --help'.\n";

constexpr std::string_view kReproducibleWarning =
    "varnel: warning: --reproducible makes the same passwords in every run, and anyone who has "
    "Varnel can make them too; never use them to protect anything.\n";

// Output is gathered into blocks this large before it is written, so that a long list costs a
// few dozen system calls rather than one per password.
constexpr size_t kOutputBlockSize = size_t{256} << 10;

// Writes all of text to fd, resuming after short writes and interruptions. Returns 0 or the
// errno of the failure.
int WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    return 0;
}

class TLineWriter {
public:
    explicit TLineWriter(int fd) : m_fd(fd) { m_buffer.reserve(kOutputBlockSize + 4096); }

    bool Add(std::string_view line) {
        m_buffer.append(line);
        m_buffer.push_back('\n');
        return m_buffer.size() < kOutputBlockSize || Flush();
    }

    bool Flush() {
        if (m_error != 0) {
            return false;
        }
        m_error = WriteAll(m_fd, m_buffer);
        m_buffer.clear();
        return m_error == 0;
    }

    int Error() const { return m_error; }

private:
    int m_fd;
    int m_error = 0;
    std::string m_buffer;
};

struct TGenerateOptions {
    TGenerationRequest Request;
    bool NamedAll = false;
    bool NamedSetOrCustom = false;
    bool Reproducible = false;
    bool Entropy = false;
    bool Help = false;
};

// Reads a whole number of 0 or more; anything else is refused rather than read as 0.
std::optional<int64_t> ParseCount(std::string_view text) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

// Parses the options of "generate"; returns an error message (without the program prefix) or
// nothing when they are sound.
std::optional<std::string> ParseGenerateOptions(std::span<const std::string_view> args,
                                                TGenerateOptions& options) {
    TGenerationRequest& request = options.Request;
    // Lines are streamed, so the list as a whole needs no bound.
    request.HeldCharacterLimit = 0;

    // Options that take no value and switch something on.
    struct TFlag {
        std::string_view Name;
        bool* Target;
    };
    const TFlag flags[] = {
        {"--variable", &request.VariableLength},
        {"--all", &options.NamedAll},
        {"--digits", &request.Digits},
        {"--lower", &request.LowerCaseLetters},
        {"--upper", &request.UpperCaseLetters},
        {"--special", &request.SpecialCharacters},
        {"--no-lookalikes", &request.NoLookalikes},
        {"--each-set", &request.EachSet},
        {"--entropy", &options.Entropy},
        {"--reproducible", &options.Reproducible},
        {"--help", &options.Help},
        {"-h", &options.Help},
    };

    for (size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::string_view name = arg;
        std::optional<std::string_view> attached;
        if (arg.starts_with("--")) {
            if (const size_t equals = arg.find('='); equals != std::string_view::npos) {
                name = arg.substr(0, equals);
                attached = arg.substr(equals + 1);
            }
        } else if ((arg.starts_with("-n") || arg.starts_with("-l")) && arg.size() > 2) {
            name = arg.substr(0, 2); // -n5, -l16
            attached = arg.substr(2);
        }
        const auto takeValue = [&]() -> std::optional<std::string_view> {
            if (attached) {
                return attached;
            }
            if (i + 1 < args.size()) {
                return args[++i];
            }
            return std::nullopt;
        };
        const auto flag = std::find_if(std::begin(flags), std::end(flags),
                                       [&](const TFlag& candidate) { return candidate.Name == name; });

        if (flag != std::end(flags)) {
            if (attached) {
                return std::string(name) + " takes no value";
            }
            *flag->Target = true;
        } else if (name == "--count" || name == "-n" || name == "--length" || name == "-l") {
            const bool isCount = name == "--count" || name == "-n";
            const std::optional<std::string_view> value = takeValue();
            if (!value) {
                return std::string(name) + " needs a number";
            }
            const std::optional<int64_t> number = ParseCount(*value);
            if (!number) {
                return std::string(name) + " needs a whole number of 0 or more, not '" + std::string(*value) +
                       "'";
            }
            (isCount ? request.Count : request.BaseLength) = *number;
        } else if (name == "--custom") {
            const std::optional<std::string_view> value = takeValue();
            if (!value) {
                return "--custom needs the characters to use";
            }
            request.CustomCharacters = std::string(*value);
            options.NamedSetOrCustom = true;
        } else if (name == "--exclude") {
            const std::optional<std::string_view> value = takeValue();
            if (!value) {
                return "--exclude needs the characters to leave out";
            }
            if (!IsUtf8(*value)) {
                return "the --exclude characters are not valid UTF-8 text";
            }
            request.ExcludedCharacters.append(*value);
        } else if (arg.starts_with("-")) {
            return "unknown option '" + std::string(arg) + "'";
        } else {
            return "unexpected argument '" + std::string(arg) + "'";
        }
    }

    options.NamedSetOrCustom = options.NamedSetOrCustom || request.Digits || request.LowerCaseLetters ||
                               request.UpperCaseLetters || request.SpecialCharacters;
    if (options.NamedAll && options.NamedSetOrCustom) {
        return "--all cannot be combined with a set or --custom";
    }
    // As in the window: choosing any set or typing characters turns "all keys" off.
    request.AllKeys = !options.NamedSetOrCustom;
    if (request.EachSet && ChosenSets(request) == 0) {
        return "--each-set needs a set to put into every password: name --digits, --lower, --upper, "
               "--special or --all";
    }
    return std::nullopt;
}

int UsageError(int errFd, const std::string& message) {
    WriteAll(errFd, "varnel: " + message + ". Try 'varnel generate --help'.\n");
    return kExitUsage;
}

// Reports a request the engine turned down, as a usage error since the options are at fault.
int RefusedRequest(int errFd, const TGenerateOptions& options, const TGenerationResult& refusal) {
    const TGenerationRequest& request = options.Request;
    switch (refusal.Status) {
    case TGenerationStatus::EmptyPool:
        if (!request.ExcludedCharacters.empty() || request.NoLookalikes) {
            return UsageError(errFd, "--exclude and --no-lookalikes leave no characters to draw from");
        }
        return UsageError(errFd, "there are no characters to draw from: name a set (--digits, --lower, "
                                 "--upper, --special) or give --custom characters");
    case TGenerationStatus::InvalidCharacters:
        return UsageError(errFd, "the --custom characters are not valid UTF-8 text");
    default: {
        // The engine's sentence, fitted into the command line's "varnel: message." shape.
        std::string message = refusal.Error.substr(0, refusal.Error.find_last_not_of('.') + 1);
        if (!message.empty()) {
            message[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(message[0])));
        }
        return UsageError(errFd, message);
    }
    }
}

std::string EntropyLine(const TGenerateOptions& options) {
    const double bits = PasswordEntropy(options.Request).Bits;
    char text[64];
    // Adding zero turns a negative zero into a plain one, which prints without a sign.
    std::snprintf(text, sizeof text, "%.1f", bits + 0.0);
    if (options.Reproducible) {
        // The fixed sequence makes the same passwords every time: nothing about them is unknown.
        return std::string("varnel: entropy of one password: 0.0 bits under --reproducible (") + text +
               " bits from the system's random generator).\n";
    }
    return std::string("varnel: entropy of one password: ") + text + " bits.\n";
}

int RunGenerate(std::span<const std::string_view> args, int outFd, int errFd, TRandomSource* systemSource) {
    TGenerateOptions options;
    if (const std::optional<std::string> error = ParseGenerateOptions(args, options)) {
        return UsageError(errFd, *error);
    }
    if (options.Help) {
        return WriteAll(outFd, kGenerateHelpText) == 0 ? kExitSuccess : kExitFailure;
    }
    // Checked whatever the count, so that options that cannot work are reported even when no
    // password is asked for.
    TCharacterPool pool;
    if (const TGenerationResult check = PrepareRequest(options.Request, pool); !check.Ok()) {
        return RefusedRequest(errFd, options, check);
    }
    if (options.Entropy) {
        WriteAll(errFd, EntropyLine(options));
    }

    std::unique_ptr<TRandomSource> ownSource;
    TRandomSource* source = systemSource;
    if (options.Reproducible) {
        ownSource = std::make_unique<TReproducibleRandomSource>();
        source = ownSource.get();
    } else if (source == nullptr) {
        ownSource = std::make_unique<TSystemRandomSource>();
        source = ownSource.get();
    }

    // A reader that goes away (varnel generate | head) must end the run quietly, not kill it.
    std::signal(SIGPIPE, SIG_IGN);

    TLineWriter writer(outFd);
    bool warned = false;
    TPasswordGenerator generator(*source);
    const TGenerationResult result = generator.Generate(options.Request, [&](std::string_view line) {
        if (!warned && source->IsReproducible()) {
            WriteAll(errFd, kReproducibleWarning);
            warned = true;
        }
        return writer.Add(line);
    });
    const bool flushed = writer.Flush();

    switch (result.Status) {
    case TGenerationStatus::Done:
    case TGenerationStatus::Stopped:
        break;
    case TGenerationStatus::RandomFailure:
        WriteAll(errFd, "varnel: " + result.Error + "\n");
        return kExitFailure;
    default:
        return RefusedRequest(errFd, options, result);
    }
    if (!flushed) {
        if (writer.Error() != EPIPE) {
            WriteAll(errFd, std::string("varnel: cannot write the passwords: ") +
                                std::strerror(writer.Error()) + ".\n");
        }
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace

TRunKind ClassifyArguments(std::span<const std::string_view> args, TWindowOptions& options,
                           std::string& error) {
    if (!args.empty()) {
        const std::string_view first = args[0];
        if (!first.starts_with("-") || first == "--help" || first == "-h" || first == "--version") {
            return TRunKind::Command;
        }
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--reproducible") {
            options.Reproducible = true;
            continue;
        }
        // --look LOOK and --theme FILE, or with "=" between option and value.
        std::optional<std::string_view> value;
        const std::string_view name = arg.substr(0, arg.find('='));
        if (name != "--look" && name != "--theme") {
            error = "varnel: unknown option '" + std::string(arg) + "'. Try 'varnel --help'.\n";
            return TRunKind::Invalid;
        }
        if (name.size() < arg.size()) {
            value = arg.substr(name.size() + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        }
        if (!value || value->empty()) {
            error = "varnel: " + std::string(name) +
                    (name == "--look" ? " needs a look: " + BuiltInLookNames()
                                      : std::string(" needs a theme file")) +
                    ". Try 'varnel --help'.\n";
            return TRunKind::Invalid;
        }
        if (options.Look) {
            error = "varnel: give one look only, with --look or --theme, once.\n";
            return TRunKind::Invalid;
        }
        if (name == "--theme") {
            options.Look = FromThemeFile;
            options.ThemeFile = std::string(*value);
        } else if (std::optional<TsuiUIStyle> look = FindBuiltInLook(*value)) {
            options.Look = look;
        } else {
            error = "varnel: '" + std::string(*value) + "' is not a look; --look takes one of " +
                    BuiltInLookNames() + ".\n";
            return TRunKind::Invalid;
        }
    }
    return TRunKind::Window;
}

int RunCommandLine(std::span<const std::string_view> args, int outFd, int errFd,
                   TRandomSource* systemSource) {
    if (args.empty()) {
        WriteAll(errFd, kNoCommandText);
        return kExitUsage;
    }
    const std::string_view command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        return WriteAll(outFd, kHelpText) == 0 ? kExitSuccess : kExitFailure;
    }
    if (command == "--version") {
        return WriteAll(outFd, kVersionText) == 0 ? kExitSuccess : kExitFailure;
    }
    if (command == "generate") {
        return RunGenerate(args.subspan(1), outFd, errFd, systemSource);
    }
    WriteAll(errFd, "varnel: unknown command '" + std::string(command) + "'. Try 'varnel --help'.\n");
    return kExitUsage;
}
