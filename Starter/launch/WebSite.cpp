// Opening the product's web site with the browser registered for ".html" files.
#include "StarterShell.h"

#include "StarterTexts.h"

namespace {

// The registration is read as a Start Station command is: its program is never guessed from a
// prefix of an unquoted path with blanks, and the address goes where it has "%1", quoted so that
// the browser reads it as one argument.
bool Browser_Start(const std::string& address) {
    std::string description, command, program, iconFile;
    std::int16_t iconIndex = 0;
    FileType_Lookup(StarterText::WebSampleDocument, StarterText::WebVerb, description, command, program, iconFile,
                    iconIndex);
    const StartCommand browser = StartCommand_Find(command);
    return Process_Start(browser.Program, CommandArguments_Fill(browser.Arguments, address));
}

}  // namespace

void WebSite_Open() {
    const std::string address = StarterText::WebAddress;
    if (Browser_Start(address)) return;
    if (Process_Start(Explorer_GetPath(), CommandLine_QuoteArgument(address))) return;
    StarterBox(StarterText::WebErrorBegin + address + StarterText::WebErrorEnd, MB_ICONEXCLAMATION | MB_OK);
}
