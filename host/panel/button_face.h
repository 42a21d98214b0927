// Which of its images a skin button shows: the pressed image while pressed,
// the focus image while focused, the disabled image while disabled, and the
// up image otherwise or when the wanted image does not exist.
#pragma once

enum class ButtonFace { Up, Down, Focus, Disabled };

struct ButtonImagesPresent {
    bool down = false;
    bool focus = false;
    bool disabled = false;
};

ButtonFace ChooseButtonFace(bool pressed, bool focused, bool enabled, const ButtonImagesPresent& present);
