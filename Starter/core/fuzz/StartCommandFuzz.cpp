// Any stored command: the program found is a prefix of the command (or its quoted part) and the
// arguments are the rest, unchanged; no shorter prefix ending in ".exe" or ".com" was passed
// over. Any argument, quoted or put in place of a registered "%1", comes back whole from a
// split by the runtime's rules.
#include "CommandLine.h"
#include "StartCommand.h"
#include "Text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool EndsWithProgramExtension(const std::string& text) {
    if (text.size() < 4) return false;
    const std::string ending = Ascii_ToLower(text.substr(text.size() - 4));
    return ending == ".exe" || ending == ".com";
}

std::string AfterBlanks(const std::string& text, std::size_t at) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    return text.substr(at);
}

void CheckSplit(const std::string& command, bool wholeIsFile) {
    const std::string text = AfterBlanks(command, 0);
    std::vector<std::string> asked;
    const StartCommand split = StartCommand_Split(command, [&](const std::string& path) {
        asked.push_back(path);
        return wholeIsFile;
    });
    if (!text.empty() && text[0] == '"') {
        Check(asked.empty());
        Check(split.Program.find('"') == std::string::npos);
        const std::size_t close = 1 + split.Program.size();
        Check(text.compare(0, close, "\"" + split.Program) == 0);
        Check(close == text.size() ? split.Arguments.empty()
                                   : text[close] == '"' && AfterBlanks(text, close + 1) == split.Arguments);
        return;
    }
    Check(asked.size() == (text.empty() ? 0u : 1u) && (asked.empty() || asked[0] == text));
    Check(text.compare(0, split.Program.size(), split.Program) == 0);
    const std::size_t end = split.Program.size();
    Check(end == text.size() || IsBlank(text[end]));
    Check(AfterBlanks(text, end) == split.Arguments);
    if (wholeIsFile && !text.empty()) {
        Check(split.Program == text);
        return;
    }
    // Every word end before the program's end: no earlier prefix named a program.
    bool blankInside = false;
    for (std::size_t at = 1; at < end; ++at) {
        if (!IsBlank(text[at]) || IsBlank(text[at - 1])) continue;
        blankInside = true;
        Check(!EndsWithProgramExtension(text.substr(0, at)));
    }
    Check(!blankInside || EndsWithProgramExtension(split.Program));
}

void CheckWhole(const std::string& argument) {
    const std::vector<std::string> expected = {R"(C:\a b\p.exe)", argument};
    Check(CommandLine_Split(CommandLine_Build(R"(C:\a b\p.exe)", CommandLine_QuoteArgument(argument))) == expected);

    const std::pair<const char*, std::vector<std::string>> registrations[] = {
        {R"(-url "%1")", {"-url", argument}},
        {"-url %1", {"-url", argument}},
        {R"("--u=%L")", {"--u=" + argument}},
        {"", {argument}},
    };
    for (const auto& [arguments, tail] : registrations) {
        std::vector<std::string> args = CommandLine_Split("p.exe " + CommandArguments_Fill(arguments, argument));
        args.erase(args.begin());
        Check(args == tail);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    CheckSplit(text, (data[0] & 1) != 0);
    CheckWhole(text);
    return 0;
}
