// The target program's titles, captions and paths, and the Starter's own path for the Run keys.
#include "StarterModel.h"

#include "Text.h"
#include "StarterTexts.h"

namespace {

std::string WithTrailingBackslash(std::string directory) {
    if (directory.empty() || directory.back() != '\\') directory += '\\';
    return directory;
}

}  // namespace

const std::vector<TargetTitle>& TargetTitles_InSearchOrder() {
    // The order decides when several titles exist at once: a normal Vembrol wins over a window
    // that merely carries a mode title.
    static const std::vector<TargetTitle> titles = {
        {StarterText::TitleNormal, TargetInNormalMode},
        {StarterText::TitleFastRead, TargetInFastReadMode},
        {StarterText::TitleFastSort, TargetInFastSortMode},
        {StarterText::TitleExtendedHelp, TargetInExtendedHelpMode},
    };
    return titles;
}

std::string TargetCaption_ForState(std::int16_t state, bool minimized) {
    if (state == TargetNotRunning) return StarterText::CaptionLaunch;
    return minimized ? StarterText::CaptionRestore : StarterText::CaptionClose;
}

std::string TargetProgram_PathIn(const std::string& starterDirectory) {
    return WithTrailingBackslash(starterDirectory) + StarterText::TargetFileName;
}

std::string StarterExePath_Build(const std::string& directory, const std::string& baseName) {
    std::string path = WithTrailingBackslash(directory) + baseName;
    if (path.size() < 4 || Ascii_ToLower(path.substr(path.size() - 4)) != ".exe") path += ".exe";
    return path;
}

std::string StarterRunEntry_Data(const std::string& starterExePath) {
    // Quoted as a whole so that Windows does not split a path with blanks when it runs the entry.
    return "\"" + starterExePath + "\"";
}
