// Which program a stored command names, where a bare program name is looked for, and the
// quoting that hands an argument over whole.
#include "StartCommand.h"

#include "Text.h"

#include <algorithm>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::size_t Blanks_Skip(const std::string& text, std::size_t at) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    return at;
}

// The rest of the text after the blanks that start at 'at'.
std::string Rest_After(const std::string& text, std::size_t at) {
    return text.substr(std::min(Blanks_Skip(text, at), text.size()));
}

bool Word_NamesProgram(const std::string& word) {
    if (word.size() < 4) return false;
    const std::string ending = Ascii_ToLower(word.substr(word.size() - 4));
    return ending == ".exe" || ending == ".com";
}

// A drive with its root ("C:\") or a share ("\\server\share"): the same folder whatever is current.
bool Path_IsAbsolute(const std::string& path) {
    const auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) return true;
    const bool letter = !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return letter && path.size() >= 3 && path[1] == ':' && isSeparator(path[2]);
}

// The text as it reads between quotes. Backslashes are literal except before a quote, where
// each pair stands for one; so they are doubled before a quote inside the text, and at its end
// when the closing quote follows.
void Quoted_Append(std::string& out, const std::string& text, bool closingQuoteFollows) {
    std::size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(closingQuoteFollows ? backslashes * 2 : backslashes, '\\');
}

// "%1", or "%L" in either case, which shells also use for the file's long name.
bool IsPlaceholder(const std::string& text, std::size_t at) {
    if (text[at] != '%' || at + 1 >= text.size()) return false;
    const char c = text[at + 1];
    return c == '1' || c == 'L' || c == 'l';
}

}  // namespace

StartCommand StartCommand_Split(const std::string& command, const std::function<bool(const std::string&)>& isFile) {
    const std::string text = command.substr(std::min(Blanks_Skip(command, 0), command.size()));
    if (!text.empty() && text[0] == '"') {
        const std::size_t close = text.find('"', 1);
        if (close == std::string::npos) return {text.substr(1), ""};
        return {text.substr(1, close - 1), Rest_After(text, close + 1)};
    }
    if (!text.empty() && isFile(text)) return {text, ""};
    std::size_t firstWordEnd = std::string::npos;
    for (std::size_t at = 0; at < text.size(); at = Blanks_Skip(text, at)) {
        std::size_t end = at;
        while (end < text.size() && !IsBlank(text[end])) ++end;
        if (firstWordEnd == std::string::npos) firstWordEnd = end;
        if (Word_NamesProgram(text.substr(at, end - at))) return {text.substr(0, end), Rest_After(text, end)};
        at = end;
    }
    const std::size_t end = std::min(firstWordEnd, text.size());
    return {text.substr(0, end), Rest_After(text, end)};
}

bool Program_HasFolder(const std::string& program) { return program.find_first_of("\\/:") != std::string::npos; }

std::vector<std::string> ProgramSearch_Folders(const std::string& starterDir, const std::string& systemDir,
                                               const std::string& windowsDir, const std::string& pathVariable) {
    std::vector<std::string> folders;
    const auto add = [&folders](std::string folder) {
        // PATH entries with blanks are often written in quotes; the quotes are no part of the name.
        folder.erase(std::remove(folder.begin(), folder.end(), '"'), folder.end());
        folder = Text_TrimBlanks(folder);
        if (Path_IsAbsolute(folder)) folders.push_back(Path_WithTrailingBackslash(folder));
    };
    add(starterDir);
    add(systemDir);
    add(windowsDir);
    for (std::size_t at = 0; at <= pathVariable.size();) {
        std::size_t end = pathVariable.find(';', at);
        if (end == std::string::npos) end = pathVariable.size();
        add(pathVariable.substr(at, end - at));
        at = end + 1;
    }
    return folders;
}

std::string CommandLine_QuoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    Quoted_Append(quoted, argument, true);
    return quoted + "\"";
}

std::string CommandLine_Build(const std::string& programPath, const std::string& arguments) {
    // A program's path holds no quote and does not end in a backslash, and the first token is
    // read up to the next quote without escapes: plain quotes are enough.
    std::string line = "\"" + programPath + "\"";
    if (!arguments.empty()) line += " " + arguments;
    return line;
}

std::string CommandArguments_Fill(const std::string& arguments, const std::string& argument) {
    std::string filled;
    bool insideQuotes = false, placed = false;
    std::size_t backslashes = 0;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const char c = arguments[at];
        if (IsPlaceholder(arguments, at)) {
            if (insideQuotes) {
                Quoted_Append(filled, argument, at + 2 < arguments.size() && arguments[at + 2] == '"');
            } else {
                filled += CommandLine_QuoteArgument(argument);
            }
            placed = true;
            backslashes = 0;
            ++at;
            continue;
        }
        if (c == '"' && backslashes % 2 == 0) insideQuotes = !insideQuotes;
        backslashes = c == '\\' ? backslashes + 1 : 0;
        filled += c;
    }
    if (placed) return filled;
    return arguments.empty() ? CommandLine_QuoteArgument(argument) : arguments + " " + CommandLine_QuoteArgument(argument);
}
