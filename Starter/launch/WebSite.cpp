// Opening the product's web site with the browser registered for ".html" files.
#include "StarterShell.h"

#include "PathChecks.h"
#include "StarterTexts.h"

namespace {

// The registered browser, started by its own path where the registration names one, so that
// a registration like "C:\Program Files\Web\web.exe" -url "%1" cannot start C:\Program.exe.
bool Browser_Start(const std::string& address) {
    std::string description, command, program, iconFile;
    std::int16_t iconIndex = 0;
    FileType_Lookup(StarterText::WebSampleDocument, StarterText::WebVerb, description, command, program, iconFile,
                    iconIndex);
    // Without a registered program the command line would be the address alone, which could
    // only start a file named like the web site.
    if (program.empty()) return false;
    const std::string quoted = FileType_QuotedProgram(command);
    // A quoted path that no longer exists is an uninstalled browser: giving Windows the
    // command line alone would let it look for a program at every blank of that path.
    if (!quoted.empty() && !Path_IsFile(quoted)) return false;
    return Process_Start(program + " " + address, quoted.empty() ? program : quoted);
}

}  // namespace

void WebSite_Open() {
    const std::string address = StarterText::WebAddress;
    if (Browser_Start(address)) return;
    // explorer.exe is found the way Windows always finds it (application directory, then the
    // system directories); there is no registered path to protect here.
    if (Process_Start(std::string(StarterText::WebFallbackBrowser) + " " + address, "")) return;
    StarterBox(StarterText::WebErrorBegin + address + StarterText::WebErrorEnd, MB_ICONEXCLAMATION | MB_OK);
}
