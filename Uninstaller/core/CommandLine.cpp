// Splitting and reading Uninstall.exe's command line.
#include "CommandLine.h"

#include "Text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Switches start with "/" as Windows programs have always taken them.
bool IsSwitch(const std::string& arg, const char* name) { return Ascii_EqualsIgnoringCase(arg, name); }

constexpr char kLogSwitch[] = "/log=";
constexpr std::size_t kLogSwitchLength = sizeof(kLogSwitch) - 1;

}  // namespace

const char* const Text_Usage =
    "Removes the application that Uninstall.dat beside this program lists.\n"
    "\n"
    "Uninstall [/S] [/LOG=file]\n"
    "\n"
    "/S\tSilent: no window and no questions. Files that cannot be deleted are skipped.\n"
    "/LOG=file\tAdds a record of the run to the file.\n"
    "/?\tShows this help.\n"
    "\n"
    "Exit codes: 0 removed, 1 answered No, 2 Uninstall.dat missing or invalid, "
    "3 not all files removed, 4 command line not understood.";

std::string Text_NotUnderstood(const std::string& argument) {
    return "The command line was not understood: " + argument;
}

std::string Text_LogNotOpened(const std::string& path, const std::string& reason) {
    return "The log file '" + path + "' cannot be opened: " + reason;
}

std::vector<std::string> CommandLine_Split(std::string_view line) {
    std::vector<std::string> args;
    std::size_t i = 0;
    // The program name: a quoted part runs to the next quote, backslashes are path separators.
    std::string name;
    bool quoted = false;
    for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else
            name += line[i];
    }
    args.push_back(name);
    for (;;) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i >= line.size()) return args;
        std::string arg;
        quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            std::size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                arg.append(backslashes / 2, '\\');
                if (backslashes % 2) {
                    arg += '"';
                } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    arg += '"';  // "" inside quotes is a quote, as the C runtime has it
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                arg.append(backslashes, '\\');
                if (i < line.size() && (quoted || !IsBlank(line[i]))) arg += line[i++];
            }
        }
        args.push_back(arg);
    }
}

UninstallOptions CommandLine_Parse(std::string_view commandLine) {
    UninstallOptions o;
    const std::vector<std::string> args = CommandLine_Split(commandLine);
    bool haveLog = false;
    for (std::size_t k = 1; k < args.size() && o.Understood; ++k) {
        const std::string& arg = args[k];
        if (IsSwitch(arg, "/S")) {
            o.Silent = true;
        } else if (IsSwitch(arg, "/?")) {
            o.ShowUsage = true;
        } else if (arg.size() > kLogSwitchLength && !haveLog &&
                   Ascii_EqualsIgnoringCase(arg.substr(0, kLogSwitchLength), kLogSwitch)) {
            o.LogPath = arg.substr(kLogSwitchLength);
            haveLog = true;
        } else {
            o.Understood = false;
            o.Refused = arg;
        }
    }
    // /S promises that no box appears; /? asks for one. A script that says both is not run.
    if (o.Understood && o.Silent && o.ShowUsage) {
        o.Understood = false;
        o.Refused = "/?";
    }
    if (!o.Understood) {
        o.ShowUsage = false;
        o.LogPath.clear();
    }
    return o;
}
