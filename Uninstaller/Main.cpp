// Uninstall.exe: the whole program runs inside the form's load, then the process ends.
#include "Mfrm.h"
#include "SelfRemoval.h"
#include "UninstallRun.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (SelfRemoval_RunAsCopy()) ExitProcess(0);
    Mfrm form;
    if (!form.Create(instance)) return 1;
    Form_Load(form);
    // Ends at once, as the run's last message box is answered: nothing is left to unload.
    ExitProcess(0);
}
