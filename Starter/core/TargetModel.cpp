// The target program's titles, captions and paths, and the Starter's own path for the Run keys.
#include "StarterModel.h"

#include "PathRules.h"
#include "Text.h"
#include "StarterTexts.h"

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

bool TargetProgram_IsImage(const std::string& imagePath) {
    const std::size_t slash = imagePath.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? imagePath : imagePath.substr(slash + 1);
    return Path_Equal(name, StarterText::TargetFileName);
}

std::string TargetCaption_ForState(std::int16_t state, bool minimized) {
    if (state == TargetNotRunning) return StarterText::CaptionLaunch;
    return minimized ? StarterText::CaptionRestore : StarterText::CaptionClose;
}

std::string TargetProgram_PathIn(const std::string& starterDirectory) {
    return Path_WithTrailingBackslash(starterDirectory) + StarterText::TargetFileName;
}

std::string StarterExePath_Build(const std::string& directory, const std::string& baseName) {
    std::string path = Path_WithTrailingBackslash(directory) + baseName;
    if (path.size() < 4 || !Path_Equal(path.substr(path.size() - 4), ".exe")) path += ".exe";
    return path;
}

std::string StarterRunEntry_Data(const std::string& starterExePath) {
    // Quoted as a whole so that Windows does not split a path with blanks when it runs the entry.
    return "\"" + starterExePath + "\"";
}
