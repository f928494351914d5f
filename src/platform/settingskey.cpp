#include "platform/settingskey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString configHome() {
    const QByteArray fromEnv = qgetenv("XDG_CONFIG_HOME");
    if (!fromEnv.isEmpty() && QDir::isAbsolutePath(QString::fromLocal8Bit(fromEnv)))
        return QString::fromLocal8Bit(fromEnv);
    return QDir::homePath() + QStringLiteral("/.config");
}

QString fileProblem(const QString& path) {
    return QStringLiteral("the settings file '%1' cannot be read").arg(path);
}

// Whether every line is blank, a comment, a section header or a key with a value. QSettings
// reports a malformed file only the first time the process parses it, so check it here too.
bool wellFormed(const QByteArray& content) {
    for (const QByteArray& raw : content.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[') ? !line.contains(']') : !line.contains('='))
            return false;
    }
    return true;
}

// QSettings treats an unreadable or malformed file as empty; refuse it instead.
void checkReadable(const QSettings& settings, const QString& path) {
    const QFileInfo info(path);
    if (info.exists()) {
        QFile file(path);
        if (!info.isFile() || !file.open(QIODevice::ReadOnly))
            throw SettingsKeyError(fileProblem(path).toStdString());
        if (!wellFormed(file.readAll()))
            throw SettingsKeyError(
                QStringLiteral("the settings file '%1' is damaged").arg(path).toStdString());
    }
    if (settings.status() == QSettings::FormatError)
        throw SettingsKeyError(
            QStringLiteral("the settings file '%1' is damaged").arg(path).toStdString());
    if (settings.status() == QSettings::AccessError)
        throw SettingsKeyError(fileProblem(path).toStdString());
}

std::unique_ptr<QSettings> openSettings(const QString& path) {
    auto settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    // The file is parsed on first use; only then does the status tell whether it was readable.
    settings->allKeys();
    checkReadable(*settings, path);
    return settings;
}

} // namespace

QString SettingsKey::filePath() {
    return configHome() + QStringLiteral("/Quillmoor/Kestrune.conf");
}

SettingsKey::SettingsKey(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}
SettingsKey::SettingsKey(SettingsKey&&) noexcept = default;

SettingsKey::~SettingsKey() {
    if (settings_)
        settings_->sync();
}

SettingsKey SettingsKey::openOrCreate() {
    const QString path = filePath();
    // A folder that cannot be created shows up as a failure of the first write.
    QDir().mkpath(QFileInfo(path).absolutePath());
    return SettingsKey(openSettings(path));
}

std::unique_ptr<SettingsKey> SettingsKey::openExisting() {
    const QString path = filePath();
    const QFileInfo info(path);
    if (!info.isFile())
        return nullptr;
    try {
        return std::unique_ptr<SettingsKey>(new SettingsKey(openSettings(path)));
    } catch (const SettingsKeyError&) {
        return nullptr;
    }
}

bool SettingsKey::exists(const QString& name) const {
    return settings_->contains(name);
}

int32_t SettingsKey::readInteger(const QString& name) const {
    const QVariant value = settings_->value(name);
    if (!value.isValid())
        throw SettingsKeyError(
            QStringLiteral("Failed to get data for '%1'").arg(name).toStdString());
    bool ok = false;
    // Values read from the file are text; values written through this key are still numbers.
    const bool scalar = value.typeId() == QMetaType::QString || value.typeId() == QMetaType::Int;
    const int number = scalar ? value.toString().toInt(&ok, 10) : 0;
    if (!ok)
        throw SettingsKeyError(
            QStringLiteral("Invalid data type for '%1'").arg(name).toStdString());
    return number;
}

void SettingsKey::writeInteger(const QString& name, int32_t value) {
    settings_->setValue(name, value);
    settings_->sync();
    if (settings_->status() != QSettings::NoError)
        throw SettingsKeyError(QStringLiteral("Failed to set data for '%1' (%2 cannot be written)")
                                   .arg(name, filePath())
                                   .toStdString());
}
