#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>

class QSettings;

// A failure of the settings store; its text names the value (or the file) concerned.
class SettingsKeyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The program's settings key: one INI file of 32-bit integers,
// $XDG_CONFIG_HOME/Quillmoor/Kestrune.conf. Each SettingsKey opens the file, works and syncs;
// nothing stays open between operations. The key exists when the file exists.
class SettingsKey {
public:
    // Opens the key, creating its folder when missing. A file that exists but cannot be read or
    // parsed raises at once, so a damaged file is never replaced by defaults.
    static SettingsKey openOrCreate();
    // Opens the key only when its file exists and reads cleanly; otherwise returns null.
    static std::unique_ptr<SettingsKey> openExisting();

    SettingsKey(SettingsKey&&) noexcept;
    ~SettingsKey();

    // Whether the value is stored, whatever it holds.
    bool exists(const QString& name) const;
    // The stored value as a 32-bit integer; raises when it is not one.
    int32_t readInteger(const QString& name) const;
    // Stores the value and syncs the file; raises when the file cannot be written.
    void writeInteger(const QString& name, int32_t value);

    static QString filePath();

private:
    explicit SettingsKey(std::unique_ptr<QSettings> settings);
    std::unique_ptr<QSettings> settings_;
};
