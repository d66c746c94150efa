// Any command line: the split never reads past the text, and arguments quoted the way the
// Windows runtime reads them come back from the split unchanged; the options are consistent.
#include "CommandLine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The quoting that the runtime's rules read back as arg: backslashes double only before a quote.
std::string Quoted(const std::string& arg) {
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> args = CommandLine_Split(line);
    if (args.empty()) std::abort();

    std::string again = "Uninstall.exe";
    for (std::size_t i = 1; i < args.size(); ++i) again += " " + Quoted(args[i]);
    std::vector<std::string> back = CommandLine_Split(again);
    back[0] = args[0];
    if (back != args) std::abort();

    const UninstallOptions o = CommandLine_Parse(line);
    if (o.Understood && o.Silent && o.ShowUsage) std::abort();
    if (!o.Understood && (o.ShowUsage || !o.LogPath.empty())) std::abort();
    return 0;
}
