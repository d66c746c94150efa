// The input box: a small modal dialog built in memory, with a prompt, one edit field, OK and
// Cancel.
#include "StarterShell.h"

#include "Handles.h"
#include "WideText.h"

#include <vector>

namespace {

// The prompt has the id that message boxes give their text, so that tools which read message
// boxes read this prompt the same way.
constexpr WORD IdPrompt = 0xFFFF;
constexpr WORD IdEdit = 100;

struct InputBoxState {
    std::string prompt;
    std::string title;
    std::string text;
    bool accepted = false;
};

// A DLGTEMPLATE with its items, laid out as the dialog manager reads it. Texts are set once the
// dialog exists, so the template carries none but the font name.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short cx, short cy, WORD itemCount) {
        Dword(style);
        Dword(0);  // extended style
        words_.push_back(itemCount);
        Coordinates(0, 0, cx, cy);
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the standard dialog class
        words_.push_back(0);  // empty title
        words_.push_back(8);  // font size (DS_SETFONT)
        for (const char* c = "MS Shell Dlg"; *c; ++c) words_.push_back(static_cast<WORD>(*c));
        words_.push_back(0);
    }

    void Item(WORD classAtom, WORD id, DWORD style, short x, short y, short cx, short cy) {
        if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD boundary
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Coordinates(x, y, cx, cy);
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(classAtom);
        words_.push_back(0);  // empty text
        words_.push_back(0);  // no creation data
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Dword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void Coordinates(short x, short y, short cx, short cy) {
        for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
    }

    std::vector<WORD> words_;  // vector storage is aligned well beyond the DWORD the template needs
};

constexpr WORD AtomButton = 0x0080, AtomEdit = 0x0081, AtomStatic = 0x0082;

std::string Window_Text(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    return Text_FromWide(text.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

RECT Window_RectIn(HWND window, HWND parent) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A long prompt (a browse application's path, say) wraps, breaking even words without blanks;
// the dialog grows downwards until all of it shows.
void Prompt_Fit(HWND dialog) {
    HWND prompt = GetDlgItem(dialog, IdPrompt);
    const std::wstring text = Wide_FromText(Window_Text(prompt));

    const RECT shown = Window_RectIn(prompt, dialog);
    RECT needed = {0, 0, shown.right - shown.left, 0};
    {
        ScreenDc dc(prompt);
        HGDIOBJ old = SelectObject(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
        DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
        SelectObject(dc.get(), old);
    }
    const int grow = (needed.bottom - needed.top) - (shown.bottom - shown.top);
    if (grow <= 0) return;
    SetWindowPos(prompt, nullptr, 0, 0, shown.right - shown.left, needed.bottom - needed.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    HWND edit = GetDlgItem(dialog, IdEdit);
    const RECT field = Window_RectIn(edit, dialog);
    SetWindowPos(edit, nullptr, field.left, field.top + grow, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT frame;
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, frame.left, frame.top - grow / 2, frame.right - frame.left,
                 frame.bottom - frame.top + grow, SWP_NOZORDER);
}

INT_PTR CALLBACK InputBox_Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            state = reinterpret_cast<InputBoxState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetWindowTextW(dialog, Wide_FromText(state->title).c_str());
            SetDlgItemTextW(dialog, IdPrompt, Wide_FromText(state->prompt).c_str());
            SetDlgItemTextW(dialog, IDOK, L"OK");
            SetDlgItemTextW(dialog, IDCANCEL, L"Cancel");
            Prompt_Fit(dialog);
            HWND edit = GetDlgItem(dialog, IdEdit);
            SetWindowTextW(edit, Wide_FromText(state->text).c_str());
            // The default text selected, so that typing replaces it.
            SetFocus(edit);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            return FALSE;  // the focus is set here
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK && state) {
                state->text = Window_Text(GetDlgItem(dialog, IdEdit));
                state->accepted = true;
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {  // also Escape and the close box
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
        case WM_CLOSE:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    InputBoxState state{prompt, title, defaultText, false};
    // Dialog units; the prompt grows at run time when it needs more lines.
    DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER |
                              DS_SETFOREGROUND,
                          268, 84, 4);
    dialog.Item(AtomStatic, IdPrompt, SS_LEFT | SS_EDITCONTROL | SS_NOPREFIX, 7, 7, 192, 40);
    dialog.Item(AtomEdit, IdEdit, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 60, 254, 14);
    dialog.Item(AtomButton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 208, 7, 53, 14);
    dialog.Item(AtomButton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 208, 25, 53, 14);
    // No owner: the Starter's forms are hidden, and the box must stand on its own.
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), nullptr, InputBox_Proc,
                                                   reinterpret_cast<LPARAM>(&state));
    return (result == IDOK && state.accepted) ? state.text : "";
}
