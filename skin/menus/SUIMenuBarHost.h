#pragma once

// What a skinned main menu asks of the window that shows its top-level items in a menu bar. The
// skinned form implements it and links itself to the menu (TsuiMainMenu::SetMenuBarHost); the
// menu never knows the form's class, so this layer stays below the frame.
class TsuiMenuBarHost {
public:
    // Recreates the bar's buttons from the menu's top-level items.
    virtual void RebuildMenuBar() = 0;
    // Copies each top-level item's caption and enabled state to its button.
    virtual void RefreshMenuBar() = 0;
    // Applies the menu's font settings to the bar and repaints it.
    virtual void UpdateMenuBarFont() = 0;

protected:
    ~TsuiMenuBarHost() = default;
};
