// What the roast logic needs of the panel: to show the controller state
// again after changing it. The panel lives above the logic and implements
// this.
#pragma once

class PanelRefresh {
public:
    virtual ~PanelRefresh() = default;

    // Counts an edit down (committing it when due), blinks the edited
    // value and shows the controller state on the panel.
    virtual void UpdatePanel() = 0;
};
