// The autostart setting of Vembrol and the Starter's own Run entries.
#include "StarterShell.h"

#include "Rmod.h"
#include "StarterTexts.h"

namespace {

std::string StartUp_Key() { return std::string(StarterText::ProductKey) + StarterText::StartUpSubKey; }

}  // namespace

Boolean AutoStart_Load() {
    Registry_ReadFailed = false;
    const std::string text = Registry_GetValue(RegRoot_LocalMachine, StartUp_Key(), StarterText::AutoStartValueName);
    // A first start on a machine has no key at all: autostart stays off.
    if (Registry_ReadFailed) return BooleanFalse;
    return Text_ToBoolean(text);
}

bool AutoStart_Save(Boolean autoStartTarget) {
    // Rewritten whole so that the key holds this one value and nothing older.
    Registry_DeleteKey(RegRoot_LocalMachine, StartUp_Key());
    Registry_CreateKey(RegRoot_LocalMachine, StartUp_Key());
    return Registry_SetValue(RegRoot_LocalMachine, StartUp_Key(), StarterText::AutoStartValueName,
                             Boolean_ToText(autoStartTarget), RegKind_String);
}

void StarterRunEntry_Write(const std::string& starterExePath) {
    const std::string data = StarterRunEntry_Data(starterExePath);
    Registry_SetValue(RegRoot_LocalMachine, StarterText::RunKey, StarterText::RunValueName, data, RegKind_String);
    Registry_SetValue(RegRoot_LocalMachine, StarterText::RunKeyNt, StarterText::RunValueName, data, RegKind_String);
}

bool StarterRunEntry_Remove() {
    // Only the upper key: the NT entry stays, as removing the Starter has always left it.
    return Registry_DeleteValue(RegRoot_LocalMachine, StarterText::RunKey, StarterText::RunValueName);
}
