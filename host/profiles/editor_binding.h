// The program's side of the step editor: the PROGRAM button that opens the
// editor and the handler of the editor's registered message.
#pragma once

struct Console;
class EditorSync;
class RoasterLink;

class EditorBinding {
public:
    EditorBinding(Console& console, EditorSync& sync, RoasterLink& link) : c_(console), sync_(sync), link_(link) {}

    // PROGRAM button (control 1083).
    void OnProgram();
    // The editor's message "WM_USER+120" with its code 1 to 4.
    void OnEditorMessage(int code);

private:
    // Takes the edited list from the editor; Ready shows its step 1.
    void TakeEditedProfile();

    Console& c_;
    EditorSync& sync_;
    RoasterLink& link_;
};
