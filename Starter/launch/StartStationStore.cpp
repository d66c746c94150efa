// The Start Station configuration read from the product's registry key, and the browse
// application written back to it.
#include "StarterShell.h"

#include "Rmod.h"
#include "StarterTexts.h"

namespace {

constexpr std::int16_t SlotCount = 5;

std::string StartStation_Key(const StartStationConfig& config) {
    return config.StartStationBaseKey + StarterText::StartStationSubKey;
}

}  // namespace

void StartStation_Init(StartStationConfig& config, std::uint32_t rootKey, const std::string& baseKey) {
    config.StartStationRootKey = rootKey;
    config.StartStationBaseKey = baseKey;
    if (!baseKey.empty() && baseKey.back() != '\\') config.StartStationBaseKey += '\\';
    config.StartStationCount = SlotCount;
    config.StartStationEntries.assign(SlotCount, StartStationEntry{});
}

void StartStation_Load(StartStationConfig& config) {
    const std::uint32_t root = config.StartStationRootKey;
    const std::string key = StartStation_Key(config);
    config.BrowseApplication = Registry_GetValue(root, key, StarterText::BrowseApplicationValueName);
    // Explorer by its full path: a bare name would be looked for elsewhere first.
    if (config.BrowseApplication.empty()) config.BrowseApplication = Explorer_GetPath();

    const int count = config.StartStationCount > 0 ? config.StartStationCount : 0;
    config.StartStationEntries.assign(static_cast<std::size_t>(count), StartStationEntry{});
    for (int n = 1; n <= count; ++n) {
        StartStationEntry& entry = config.StartStationEntries[static_cast<std::size_t>(n - 1)];
        // Other programs of the product write these values, some as numbers: whatever the
        // registry layer renders as text is accepted, and numbers never fail the load.
        entry.FileType = StartStation_FileTypeFromText(Registry_GetValue(root, key, StartStationValue_FileType(n)));
        entry.FileTypeDescription = Registry_GetValue(root, key, StartStationValue_FileTypeDescription(n));
        entry.ApplicationName = Registry_GetValue(root, key, StartStationValue_ApplicationName(n));
        entry.ApplicationCommand = Registry_GetValue(root, key, StartStationValue_ApplicationCommand(n));
        entry.IconFile = Registry_GetValue(root, key, StartStationValue_IconFile(n));
        entry.IconIndex = StartStation_IconIndexFromText(Registry_GetValue(root, key, StartStationValue_IconIndex(n)));
    }
}

bool StartStation_Save(const StartStationConfig& config) {
    // Only the value the user typed, in place: the key is shared with the product's other
    // programs, and a slot's values may hold what the load cannot (long texts, several strings,
    // other value types), so a rewrite from the copy would lose them.
    return Registry_SetValue(config.StartStationRootKey, StartStation_Key(config),
                             StarterText::BrowseApplicationValueName, config.BrowseApplication, RegKind_String);
}
