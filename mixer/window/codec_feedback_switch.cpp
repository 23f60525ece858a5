#include "mixer/window/codec_feedback_switch.h"

#include <QByteArray>
#include <QSettings>
#include <QVariant>

namespace mixer {

namespace {
constexpr const char* kFeedbackValueName = "Disable feedback";
constexpr qsizetype kLargestValueBytes = 260;
}  // namespace

CodecFeedbackOutcome switchOffCodecFeedback(const QString& organisation,
                                            const QString& application) {
    QSettings codecSettings(organisation, application);
    const QVariant value = codecSettings.value(kFeedbackValueName);
    if (!value.isValid()) {
        return CodecFeedbackOutcome::ValueMissing;
    }

    // The settings file does not record whether a number was written as a number or a text,
    // so anything that reads as an integer is the codec's integer switch.
    bool isInteger = false;
    const qlonglong number = value.toLongLong(&isInteger);
    if (isInteger && value.typeId() != QMetaType::QByteArray) {
        codecSettings.setValue(kFeedbackValueName, (number & ~qlonglong{0xFF}) | 1);
        codecSettings.sync();
        return CodecFeedbackOutcome::Switched;
    }

    const bool isBytes = value.typeId() == QMetaType::QByteArray;
    QByteArray bytes = isBytes ? value.toByteArray() : value.toString().toUtf8();
    if (bytes.size() > kLargestValueBytes) {
        return CodecFeedbackOutcome::ValueTooLong;
    }
    if (!bytes.isEmpty()) {
        bytes[0] = '\x01';
    }
    if (isBytes) {
        codecSettings.setValue(kFeedbackValueName, bytes);
    } else {
        codecSettings.setValue(kFeedbackValueName, QString::fromUtf8(bytes));
    }
    codecSettings.sync();
    return CodecFeedbackOutcome::Switched;
}

}  // namespace mixer
