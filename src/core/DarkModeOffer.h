#pragma once

// What a Windows version offers the program for a dark look beyond what it draws itself.
// The system's own parts (title bars, scroll bars, tooltips, list views) turn dark only
// through a window attribute that has changed its number, and through uxtheme functions
// that Windows exports by ordinal alone and has never documented.
struct DarkModeOffer {
    // DWMWA_USE_IMMERSIVE_DARK_MODE as this build numbers it; 0 where there is none.
    unsigned titleBarAttribute = 0;
    // uxtheme's ordinals 133 (AllowDarkModeForWindow), 135 and 136 (FlushMenuThemes)
    // mean what the program calls them for; and the system's "DarkMode_" theme classes exist.
    bool undocumented = false;
    // Ordinal 135 takes an app mode (SetPreferredAppMode) rather than a flag
    // (AllowDarkModeForApp).
    bool appModeByNumber = false;
};

// The newest build whose undocumented ordinals are known to mean the same: a later one
// draws the system's parts light until it has been checked and this is raised.
constexpr unsigned kNewestDarkModeBuild = 26100;

DarkModeOffer DarkModeOfferFor(unsigned major, unsigned build);
