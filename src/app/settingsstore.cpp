#include "app/settingsstore.h"

#include "platform/settingskey.h"

#include <QString>

TPlayerSettings PlayerSettings;

namespace {

// The value names and defaults, in the order they are loaded.
struct IntegerField {
    const char* name;
    int32_t TPlayerSettings::*field;
    int32_t defaultValue;
};
struct BoolField {
    const char* name;
    bool TPlayerSettings::*field;
    bool defaultValue;
};

constexpr IntegerField placementFields[] = {
    {"WinShowX", &TPlayerSettings::WinShowX, 0},
    {"WinShowY", &TPlayerSettings::WinShowY, 0},
    {"WinSizeX", &TPlayerSettings::WinSizeX, 640},
    {"WinSizeY", &TPlayerSettings::WinSizeY, 480},
    {"MovieShowX", &TPlayerSettings::MovieShowX, 0},
    {"MovieShowY", &TPlayerSettings::MovieShowY, 0},
    {"MovieSizeX", &TPlayerSettings::MovieSizeX, 640},
    {"MovieSizeY", &TPlayerSettings::MovieSizeY, 480},
};
constexpr BoolField switchFields[] = {
    {"MovieAuto", &TPlayerSettings::MovieAuto, true},
    {"KeyWait", &TPlayerSettings::KeyWait, false},
    {"AfterKey", &TPlayerSettings::AfterKey, false},
    {"DirectDrawUse", &TPlayerSettings::DirectDrawUse, true},
};
constexpr BoolField play32Field{"Play32", &TPlayerSettings::Play32, false};
const char* const errorFlagName = "ErrorFlag";

int32_t readWithDefault(SettingsKey& key, const QString& name, int32_t defaultValue) {
    if (!key.exists(name))
        key.writeInteger(name, defaultValue);
    return key.readInteger(name);
}

void loadBool(SettingsKey& key, const BoolField& f) {
    PlayerSettings.*f.field =
        readWithDefault(key, QString::fromLatin1(f.name), f.defaultValue) != 0;
}

void storeBool(SettingsKey& key, const BoolField& f) {
    key.writeInteger(QString::fromLatin1(f.name), PlayerSettings.*f.field ? 1 : 0);
}

} // namespace

void LoadSettings() {
    SettingsKey key = SettingsKey::openOrCreate();
    for (const auto& f : placementFields)
        PlayerSettings.*f.field = readWithDefault(key, QString::fromLatin1(f.name), f.defaultValue);
    for (const auto& f : switchFields)
        loadBool(key, f);
    PlayerSettings.ErrorFlag =
        static_cast<uint32_t>(readWithDefault(key, QString::fromLatin1(errorFlagName), 0));
    loadBool(key, play32Field);
}

void SaveOptionSettings() {
    SettingsKey key = SettingsKey::openOrCreate();
    for (const auto& f : placementFields)
        key.writeInteger(QString::fromLatin1(f.name), PlayerSettings.*f.field);
    for (const auto& f : switchFields)
        storeBool(key, f);
    storeBool(key, play32Field);
}

void SaveErrorFlag() {
    SettingsKey key = SettingsKey::openOrCreate();
    key.writeInteger(QString::fromLatin1(errorFlagName),
                     static_cast<int32_t>(PlayerSettings.ErrorFlag));
}

bool LoadMeterSettings(int32_t& interval, bool& volflag) {
    std::unique_ptr<SettingsKey> key = SettingsKey::openExisting();
    if (!key)
        return false;
    const QString intervalName = QStringLiteral("Interval");
    const QString volflagName = QStringLiteral("Volflag");
    if (!key->exists(intervalName))
        key->writeInteger(intervalName, 10);
    if (!key->exists(volflagName))
        key->writeInteger(volflagName, 1);
    interval = key->readInteger(intervalName);
    volflag = key->readInteger(volflagName) != 0;
    return true;
}

void SaveMeterSettings(int32_t interval, bool volflag) {
    SettingsKey key = SettingsKey::openOrCreate();
    key.writeInteger(QStringLiteral("Interval"), interval);
    key.writeInteger(QStringLiteral("Volflag"), volflag ? 1 : 0);
}
