// The panel display update: counts an edit down and commits it into the
// working list, blinks the edited value, and shows the controller state on
// the digit windows, the lamps and the temperature window.
#pragma once

#include "panel_refresh.h"

struct Console;
class EditorSync;

class PanelDisplay final : public PanelRefresh {
public:
    PanelDisplay(Console& console, EditorSync& sync) : c_(console), sync_(sync) {}

    void UpdatePanel() override;

private:
    // Writes the edited values into the working list when the countdown ends.
    void CommitEdit();
    void CommitRoastStep();

    Console& c_;
    EditorSync& sync_;
};
