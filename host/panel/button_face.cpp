#include "button_face.h"

ButtonFace ChooseButtonFace(bool pressed, bool focused, bool enabled, const ButtonImagesPresent& present) {
    if (pressed && present.down) return ButtonFace::Down;
    if (focused && present.focus) return ButtonFace::Focus;
    if (!enabled && present.disabled) return ButtonFace::Disabled;
    return ButtonFace::Up;
}
