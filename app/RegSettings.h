#pragma once
// Where the main window and the job list window keep their settings between
// runs: one key of the per-user store.

// The key of every setting of the program.
inline constexpr const char *kSettingsKey = "Software\\VORLIK\\Karvello\\List-1";

// Group bits of TfmMain::RegSettings's mask.
enum SettingsGroup {
    LoginSettings = 1,  // "USER", "CONN"
    OptionSettings = 2, // "Folder" and the window's options
};
