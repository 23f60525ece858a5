#include "mixer/project/profile_loading.h"

#include "editing/compressors/video_format_limits.h"

#include <QLocale>
#include <QRegularExpression>

namespace mixer {

std::optional<double> leadingDecimalNumber(const QString& text) {
    static const QRegularExpression leadingNumber(
        QStringLiteral(R"(^\s*([+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?))"));
    const QRegularExpressionMatch match = leadingNumber.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    bool isNumber = false;
    const double value = QLocale::c().toDouble(match.captured(1), &isNumber);
    if (!isNumber) {
        return std::nullopt;
    }
    return value;
}

QString folderOfPath(const QString& path) {
    const qsizetype lastSeparator = path.lastIndexOf(QLatin1Char('/'));
    if (lastSeparator < 0) {
        return {};
    }
    return path.left(lastSeparator + 1);
}

FrameRateChoice frameRateForStoredIndex(int storedIndex, const QString& storedCustomText) {
    if (const std::optional<double> fixed = fixedFrameRateAt(storedIndex)) {
        return {storedIndex, *fixed};
    }
    if (storedIndex == kFirstClipFrameRateIndex) {
        return {kFirstClipFrameRateIndex, kDefaultFrameRate};
    }
    if (storedIndex == kCustomFrameRateIndex) {
        const std::optional<double> custom = leadingDecimalNumber(storedCustomText);
        if (custom && *custom >= kSmallestFrameRate && *custom <= editing::kLargestFrameRate) {
            return {kCustomFrameRateIndex, *custom};
        }
    }
    return {0, kDefaultFrameRate};
}

void loadFrameRate(const SettingsStore& store, OutputSettings& output) {
    const int storedIndex = store.read(settings::kOutputFrameRateIndex);
    QString customText;
    if (storedIndex == kCustomFrameRateIndex) {
        customText = store.read(settings::kOutputFrameRate);
    }
    const FrameRateChoice choice = frameRateForStoredIndex(storedIndex, customText);
    output.OutputFrameRateIndex = choice.index;
    output.OutputFrameRate = choice.framesPerSecond;
}

namespace {

// The stored side, or the setting's default when a damaged or hand-edited profile holds a side
// no output takes.
int storedFrameSide(const SettingsStore& store, const IntegerSetting& setting) {
    const int side = store.read(setting);
    return side >= editing::kSmallestFrameSide && side <= editing::kLargestFrameSide
               ? side
               : setting.defaultValue;
}

}  // namespace

void loadOutputNameAndSize(const SettingsStore& store, OutputSettings& output) {
    output.OutputName = store.read(settings::kOutputName).toStdString();
    output.OutputWidth = storedFrameSide(store, settings::kOutputWidth);
    output.OutputHigh = storedFrameSide(store, settings::kOutputHigh);
    output.SizeSource = store.read(settings::kOutputSizeFromFirstClip) == 1
                            ? OutputSizeSource::FirstClip
                            : OutputSizeSource::Chosen;
}

TransitionDefaults loadTransitionDefaults(const SettingsStore& store) {
    TransitionDefaults defaults;
    defaults.TransitionDuration = store.read(settings::kTransitionDuration);
    defaults.TransitionType = store.read(settings::kTransitionType);
    defaults.TransitionName = store.read(settings::kTransitionName);
    defaults.ClipSoundInStep = store.read(settings::kClipSoundInStep) != 0;
    return defaults;
}

void storeTransitionDefaults(SettingsStore& store, const TransitionDefaults& defaults) {
    store.write(settings::kTransitionDuration, defaults.TransitionDuration);
    store.write(settings::kTransitionType, defaults.TransitionType);
    store.write(settings::kTransitionName, defaults.TransitionName);
    store.write(settings::kClipSoundInStep, defaults.ClipSoundInStep ? 1 : 0);
}

StoredCompressorChoices loadCompressorChoices(const SettingsStore& store) {
    return {store.read(settings::kVideoCompressorNumber),
            store.read(settings::kAudioCompressorNumber)};
}

void rememberVideoFolder(SettingsStore& store, const QString& addedPath) {
    store.write(settings::kLastPhotoFolder, folderOfPath(addedPath));
}

void rememberAudioFolder(SettingsStore& store, const QString& addedPath) {
    store.write(settings::kLastAudioFolder, folderOfPath(addedPath));
}

QString lastVideoFolder(const SettingsStore& store) {
    return store.read(settings::kLastPhotoFolder);
}

QString lastAudioFolder(const SettingsStore& store) {
    return store.read(settings::kLastAudioFolder);
}

}  // namespace mixer
