#include "mixer/project/settings_store.h"

#include <QDir>
#include <QSettings>
#include <QVariant>

#include <utility>

namespace mixer {

QString TextSetting::resolvedDefault() const {
    const QString text = QString::fromUtf8(defaultValue);
    if (defaultLocation == DefaultLocation::InHomeFolder) {
        return QDir(QDir::homePath()).absoluteFilePath(text);
    }
    return text;
}

SettingsStore::SettingsStore() : SettingsStore(kOrganisation, kApplication) {}

SettingsStore::SettingsStore(QString organisation, QString application)
    : organisation_(std::move(organisation)), application_(std::move(application)) {}

namespace {

QVariant readValue(const QString& organisation, const QString& application, const QString& section,
                   const QString& key) {
    QSettings profile(organisation, application);
    profile.beginGroup(section);
    return profile.value(key);
}

void writeValue(const QString& organisation, const QString& application, const QString& section,
                const QString& key, const QVariant& value) {
    QSettings profile(organisation, application);
    profile.beginGroup(section);
    profile.setValue(key, value);
    profile.endGroup();
    profile.sync();
}

}  // namespace

int SettingsStore::readInteger(const QString& section, const QString& key, int defaultValue) const {
    const QVariant value = readValue(organisation_, application_, section, key);
    if (!value.isValid()) {
        return defaultValue;
    }
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    return isNumber ? number : defaultValue;
}

QString SettingsStore::readText(const QString& section, const QString& key,
                                const QString& defaultValue) const {
    const QVariant value = readValue(organisation_, application_, section, key);
    if (!value.isValid()) {
        return defaultValue;
    }
    // A hand-edited text holding commas comes back as a list; it is still one text.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(','));
    }
    return value.toString();
}

void SettingsStore::writeInteger(const QString& section, const QString& key, int value) {
    writeValue(organisation_, application_, section, key, QVariant(value));
}

void SettingsStore::writeText(const QString& section, const QString& key, const QString& value) {
    writeValue(organisation_, application_, section, key, QVariant(value));
}

int SettingsStore::read(const IntegerSetting& setting) const {
    return readInteger(QString::fromUtf8(setting.section), QString::fromUtf8(setting.key),
                       setting.defaultValue);
}

QString SettingsStore::read(const TextSetting& setting) const {
    return readText(QString::fromUtf8(setting.section), QString::fromUtf8(setting.key),
                    setting.resolvedDefault());
}

void SettingsStore::write(const IntegerSetting& setting, int value) {
    writeInteger(QString::fromUtf8(setting.section), QString::fromUtf8(setting.key), value);
}

void SettingsStore::write(const TextSetting& setting, const QString& value) {
    writeText(QString::fromUtf8(setting.section), QString::fromUtf8(setting.key), value);
}

bool SettingsStore::contains(const QString& section, const QString& key) const {
    QSettings profile(organisation_, application_);
    profile.beginGroup(section);
    return profile.contains(key);
}

}  // namespace mixer
