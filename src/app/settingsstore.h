#pragma once

#include <cstdint>

// The playback and display settings, values 1 to 14 of the settings key. Filled once while the
// main window is constructed; read directly by every part of the program that needs a setting.
struct TPlayerSettings {
    int32_t WinShowX = 0;
    int32_t WinShowY = 0;
    int32_t WinSizeX = 640;
    int32_t WinSizeY = 480;
    int32_t MovieShowX = 0;
    int32_t MovieShowY = 0;
    int32_t MovieSizeX = 640;
    int32_t MovieSizeY = 480;
    bool MovieAuto = true;
    bool KeyWait = false;
    bool AfterKey = false;
    bool DirectDrawUse = true;
    uint32_t ErrorFlag = 0;
    bool Play32 = false;
};

extern TPlayerSettings PlayerSettings;

// Loads values 1 to 14 into PlayerSettings, writing the default of every missing value first.
// Raises SettingsKeyError when a value is not a 32-bit integer or the file cannot be used.
void LoadSettings();
// Stores values 1 to 12 and 14 from PlayerSettings.
void SaveOptionSettings();
// Stores ErrorFlag from PlayerSettings.
void SaveErrorFlag();

// The level meter's two values. The load opens the key only if it exists and then returns true;
// interval and volflag are left untouched otherwise.
bool LoadMeterSettings(int32_t& interval, bool& volflag);
void SaveMeterSettings(int32_t interval, bool volflag);
