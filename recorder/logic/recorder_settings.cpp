#include "recorder/logic/recorder_settings.h"

#include <QDir>
#include <QSettings>

namespace recorder {
namespace {

constexpr const char* kOrganisation = "Korvane";
constexpr const char* kApplication = "ambrevo";
constexpr const char* kGroup = "Option";

class OptionGroup {
  public:
    OptionGroup()
        : settings_(QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication)) {
        settings_.beginGroup(QString::fromLatin1(kGroup));
    }
    QSettings& operator*() { return settings_; }
    QSettings* operator->() { return &settings_; }

  private:
    QSettings settings_;
};

int readInteger(OptionGroup& group, const char* key, int defaultValue) {
    bool ok = false;
    const int value = (*group).value(QString::fromLatin1(key), defaultValue).toInt(&ok);
    return ok ? value : defaultValue;
}

}  // namespace

CaptureValues RecorderSettings::readCaptureValues() {
    OptionGroup group;
    CaptureValues values;
    values.nSoundCaptureIndex = readInteger(group, "nSoundCaptureIndex", 0);
    values.nCapturePinIndex = readInteger(group, "nCapturePinIndex", 0);
    values.nSearchFlag = readInteger(group, "nSearchFlag", 0);
    return values;
}

void RecorderSettings::writeCaptureValues(const CaptureValues& values) {
    OptionGroup group;
    group->setValue(QStringLiteral("nSoundCaptureIndex"), values.nSoundCaptureIndex);
    group->setValue(QStringLiteral("nCapturePinIndex"), values.nCapturePinIndex);
    group->setValue(QStringLiteral("nSearchFlag"), values.nSearchFlag);
    group->sync();
}

QString RecorderSettings::defaultOutputFile() {
    return QDir::home().absoluteFilePath(QStringLiteral("recorder.wav"));
}

QString RecorderSettings::readOutputFile() {
    OptionGroup group;
    return group->value(QStringLiteral("output_wav_file"), defaultOutputFile()).toString();
}

void RecorderSettings::writeOutputFile(const QString& path) {
    OptionGroup group;
    group->setValue(QStringLiteral("output_wav_file"), path);
    group->sync();
}

int RecorderSettings::readHintOnlyOnce(int defaultValue) {
    OptionGroup group;
    return readInteger(group, "b_only_once", defaultValue);
}

void RecorderSettings::writeHintOnlyOnce(int value) {
    OptionGroup group;
    group->setValue(QStringLiteral("b_only_once"), value);
    group->sync();
}

}  // namespace recorder
