// Window subclassing: offers every raw message of a watched window to target objects, and passes
// what no target answers on to the window's own procedure.
#pragma once

#include "Win32.h"

#include <string>

// An object that wants the raw messages of a watched window. Setting ReturnValueUsedFlag answers
// the message with ReturnValue instead of the window's own procedure. Both are shared by all
// targets of one message, so a target sees what the targets before it left there and may undo it.
// The target may run a modal loop, add subclassings or call KtUnSubClassAll while it handles a
// message.
class KtSubClassTarget {
public:
    virtual void KtSubClassWindowProc(const std::string& SourceDescription, HWND hwnd, UINT Msg, WPARAM wParam,
                                      LPARAM lParam, LRESULT& ReturnValue, bool& ReturnValueUsedFlag) = 0;

protected:
    ~KtSubClassTarget() = default;
};

// The object whose window is watched; its handle is read once, when its subclassing is created.
class KtSubClassObject {
public:
    virtual HWND hwnd() const = 0;

protected:
    ~KtSubClassObject() = default;
};

// Creates the subclassing called name for the object's window, adds target to it, or, when the
// subclassing already has this target, only switches the target on or off. The module keeps
// non-owning pointers: objects until KtUnSubClassAll, targets for the rest of the process.
// The module owns the GWLP_USERDATA slot of every window it watches: it keeps the window's own
// procedure there and clears the slot in KtUnSubClassAll, overwriting what the window kept.
void KtSubClass(const KtSubClassObject& object, const std::string& name, KtSubClassTarget& target, bool enabled);

// Gives every watched window its own procedure back and forgets all subclassings.
void KtUnSubClassAll();

// The procedure installed in every watched window.
LRESULT CALLBACK KtSubClass_WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
