#include "mixer/project/project_file.h"

#include "editing/transitions/transition_catalog.h"
#include "mixer/project/frame_rates.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>

namespace mixer {

namespace {

// The resize modes by the names the output options show; the numbers are ResizeMode's.
constexpr const char* kPreserveAspectRatioName = "Preserve aspect ratio";
constexpr const char* kStretchName = "Stretch";
constexpr int kPreserveAspectRatioMode = 2;
constexpr int kStretchMode = 0;

constexpr double kRefTimePerSecond = 10'000'000.0;

double secondsOf(RefTime time) {
    return static_cast<double>(time) / kRefTimePerSecond;
}
RefTime refTimeOfSeconds(double seconds) {
    return std::llround(seconds * kRefTimePerSecond);
}

QString storedPath(const std::string& fileName, const QString& projectFolder) {
    const QString path = QDir::cleanPath(QString::fromStdString(fileName));
    if (projectFolder.isEmpty()) {
        return path;
    }
    const QString relative = QDir(projectFolder).relativeFilePath(path);
    if (relative.startsWith(QLatin1String("../")) || relative == QLatin1String("..") ||
        QDir::isAbsolutePath(relative)) {
        return path;
    }
    return relative;
}

// Thrown inside the reader only, caught by readProjectText.
struct Refusal {
    QString problem;
};

class Reader {
  public:
    explicit Reader(const ProjectReadContext& context) : context_(context) {}

    ProjectContents read(const QJsonObject& root) {
        ProjectContents contents;
        contents.output = context_.currentOutput;
        const QJsonArray videos = arrayAt(root, "videos", QStringLiteral("the project"));
        for (qsizetype i = 0; i < videos.size(); ++i) {
            const QString where = QStringLiteral("video %1").arg(i + 1);
            contents.videos.push_back(readVideo(objectOf(videos[i], where), where,
                                                static_cast<int>(contents.videos.size())));
        }
        const QJsonArray audios = arrayAt(root, "audios", QStringLiteral("the project"));
        for (qsizetype i = 0; i < audios.size(); ++i) {
            const QString where = QStringLiteral("audio %1").arg(i + 1);
            contents.audios.push_back(readAudio(objectOf(audios[i], where), where));
        }
        if (root.contains(QLatin1String("output"))) {
            readOutput(objectOf(root.value(QLatin1String("output")), QStringLiteral("output")),
                       contents.output, contents.compressorNames);
        }
        if (contents.videos.size() > static_cast<std::size_t>(kMaxListEntries) ||
            contents.audios.size() > static_cast<std::size_t>(kMaxListEntries)) {
            throw Refusal{
                QStringLiteral("A list holds more than %1 entries.").arg(kMaxListEntries)};
        }
        return contents;
    }

  private:
    [[noreturn]] static void wrongType(const QString& where, const char* key, const char* wanted) {
        throw Refusal{QStringLiteral("\"%1\" of %2 is not %3.")
                          .arg(QLatin1String(key), where, QLatin1String(wanted))};
    }

    static QJsonObject objectOf(const QJsonValue& value, const QString& where) {
        if (!value.isObject()) {
            throw Refusal{QStringLiteral("%1 is not a JSON object.").arg(where)};
        }
        return value.toObject();
    }

    static QJsonArray arrayAt(const QJsonObject& object, const char* key, const QString& where) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined()) {
            return {};
        }
        if (!value.isArray()) {
            wrongType(where, key, "a list");
        }
        return value.toArray();
    }

    static std::optional<double> numberAt(const QJsonObject& object, const char* key,
                                          const QString& where) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined()) {
            return std::nullopt;
        }
        if (!value.isDouble() || !std::isfinite(value.toDouble())) {
            wrongType(where, key, "a number");
        }
        return value.toDouble();
    }

    static std::optional<double> nonNegativeAt(const QJsonObject& object, const char* key,
                                               const QString& where) {
        const std::optional<double> number = numberAt(object, key, where);
        if (number && *number < 0) {
            wrongType(where, key, "a number of zero or more");
        }
        return number;
    }

    static std::optional<QString> textAt(const QJsonObject& object, const char* key,
                                         const QString& where) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined()) {
            return std::nullopt;
        }
        if (!value.isString()) {
            wrongType(where, key, "a text");
        }
        return value.toString();
    }

    static std::optional<bool> truthAt(const QJsonObject& object, const char* key,
                                       const QString& where) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined()) {
            return std::nullopt;
        }
        if (!value.isBool()) {
            wrongType(where, key, "true or false");
        }
        return value.toBool();
    }

    std::string fileAt(const QJsonObject& object, const QString& where) const {
        const std::optional<QString> file = textAt(object, "file", where);
        if (!file || file->isEmpty()) {
            throw Refusal{QStringLiteral("%1 has no \"file\".").arg(where)};
        }
        return absolutePath(*file);
    }

    std::string absolutePath(const QString& path) const {
        if (QDir::isAbsolutePath(path) || context_.projectFolder.isEmpty()) {
            return QDir::cleanPath(path).toStdString();
        }
        return QDir::cleanPath(QDir(context_.projectFolder).filePath(path)).toStdString();
    }

    // "in" and "out" in seconds; an out point (other than 0, the end) at or before the in point
    // is refused. Whether they lie within the file is known only once it is probed.
    template <typename Entry>
    static void readSpan(const QJsonObject& object, const QString& where, Entry& entry) {
        entry.InPoint = refTimeOfSeconds(nonNegativeAt(object, "in", where).value_or(0));
        entry.OutPoint = refTimeOfSeconds(nonNegativeAt(object, "out", where).value_or(0));
        if (entry.OutPoint > 0 && entry.OutPoint <= entry.InPoint) {
            throw Refusal{QStringLiteral("\"out\" of %1 is not after its \"in\".").arg(where)};
        }
    }

    VideoEntry readVideo(const QJsonObject& object, const QString& where, int position) const {
        VideoEntry entry;
        entry.FileName = fileAt(object, where);
        if (const std::optional<QString> name = textAt(object, "transition", where)) {
            entry.TransitionEffect = effectNumberOfName(*name, where);
        } else {
            entry.TransitionEffect = chooseTransitionEffect(context_.transitionDefaults, position,
                                                            context_.randomNumbers);
        }
        const std::optional<double> seconds = nonNegativeAt(object, "transitionSeconds", where);
        entry.TransitionDuration =
            seconds ? refTimeOfSeconds(*seconds)
                    : refTimeOfSeconds(context_.transitionDefaults.TransitionDuration);
        readSpan(object, where, entry);
        return entry;
    }

    AudioEntry readAudio(const QJsonObject& object, const QString& where) const {
        AudioEntry entry;
        entry.FileName = fileAt(object, where);
        entry.StartTime = refTimeOfSeconds(nonNegativeAt(object, "start", where).value_or(0));
        entry.Volume = nonNegativeAt(object, "volume", where).value_or(1.0);
        entry.Speed = nonNegativeAt(object, "speed", where).value_or(1.0);
        if (entry.Speed <= 0) {
            wrongType(where, "speed", "a number above zero");
        }
        entry.Repeat = truthAt(object, "repeat", where).value_or(false) ? 1 : 0;
        readSpan(object, where, entry);
        return entry;
    }

    void readOutput(const QJsonObject& object, OutputSettings& output,
                    ProjectCompressorNames& names) const {
        const QString where = QStringLiteral("output");
        if (object.contains(QLatin1String("file"))) {
            output.OutputName = fileAt(object, where);
        }
        if (const auto width = numberAt(object, "width", where)) {
            output.OutputWidth = wholePositive(*width, "width");
        }
        if (const auto height = numberAt(object, "height", where)) {
            output.OutputHigh = wholePositive(*height, "height");
        }
        if (const auto rate = numberAt(object, "frameRate", where)) {
            if (*rate < kSmallestFrameRate) {
                wrongType(where, "frameRate", "a frame rate");
            }
            output.OutputFrameRate = *rate;
            output.OutputFrameRateIndex = kCustomFrameRateIndex;
            for (std::size_t i = 0; i < kFrameRatePresets.size(); ++i) {
                if (kFrameRatePresets[i].framesPerSecond == *rate) {
                    output.OutputFrameRateIndex = static_cast<int>(i);
                }
            }
        }
        if (const auto resize = textAt(object, "resize", where)) {
            if (*resize == QLatin1String(kPreserveAspectRatioName)) {
                output.ResizeMode = kPreserveAspectRatioMode;
            } else if (*resize == QLatin1String(kStretchName)) {
                output.ResizeMode = kStretchMode;
            } else {
                throw Refusal{QStringLiteral("\"%1\" is not a resize mode.").arg(*resize)};
            }
        }
        readCompressor(object, CompressorStream::Video, output.OutputName,
                       {"videoCompressor", "videoCompression", names.video},
                       output.UseVideoCompressor);
        readCompressor(object, CompressorStream::Audio, output.OutputName,
                       {"audioCompressor", "audioCompression", names.audio},
                       output.UseAudioCompressor);
    }

    struct CompressorKeys {
        const char* nameKey;
        const char* useKey;
        QString& name;
    };

    // The name picks the compressor and, when known, whether the stream is compressed; an
    // explicit false of the use key still turns compression off (the choice is kept).
    void readCompressor(const QJsonObject& object, CompressorStream stream,
                        const std::string& outputName, CompressorKeys keys, bool& use) const {
        const QString where = QStringLiteral("output");
        if (const auto name = textAt(object, keys.nameKey, where)) {
            keys.name = *name;
            if (context_.compressorNames) {
                const CompressorNameMeaning meaning =
                    context_.compressorNames(stream, outputName, *name);
                if (meaning == CompressorNameMeaning::Unknown) {
                    throw Refusal{
                        QStringLiteral("\"%1\" is not one of the %2 compressors of this output.")
                            .arg(*name,
                                 QLatin1String(stream == CompressorStream::Video ? "video"
                                                                                 : "audio"))};
                }
                use = meaning == CompressorNameMeaning::Compressor;
            }
        }
        if (const auto compress = truthAt(object, keys.useKey, where)) {
            use = keys.name.isEmpty() || !context_.compressorNames ? *compress : use && *compress;
        }
    }

    static int wholePositive(double number, const char* key) {
        if (number < 1 || number > 16384 || number != std::floor(number)) {
            wrongType(QStringLiteral("output"), key, "a whole number of pixels");
        }
        return static_cast<int>(number);
    }

    static int effectNumberOfName(const QString& name, const QString& where) {
        for (const editing::TransitionEffectEntry& effect : editing::TransitionEffectTable) {
            if (name ==
                QString::fromUtf8(effect.name.data(), static_cast<qsizetype>(effect.name.size()))) {
                return effect.number;
            }
        }
        throw Refusal{QStringLiteral("\"%1\" of %2 is not a transition.").arg(name, where)};
    }

    const ProjectReadContext& context_;
};

}  // namespace

QByteArray projectFileText(const ProjectContents& contents, const QString& projectFolder) {
    QJsonArray videos;
    for (const VideoEntry& entry : contents.videos) {
        QJsonObject video{
            {QStringLiteral("file"), storedPath(entry.FileName, projectFolder)},
            {QStringLiteral("transition"),
             QString::fromUtf8(editing::transitionEffectName(entry.TransitionEffect))},
            {QStringLiteral("transitionSeconds"), secondsOf(entry.TransitionDuration)},
        };
        video.insert(QStringLiteral("in"), secondsOf(entry.InPoint));
        video.insert(QStringLiteral("out"), secondsOf(entry.OutPoint));
        videos.append(video);
    }
    QJsonArray audios;
    for (const AudioEntry& entry : contents.audios) {
        audios.append(QJsonObject{
            {QStringLiteral("file"), storedPath(entry.FileName, projectFolder)},
            {QStringLiteral("start"), secondsOf(entry.StartTime)},
            {QStringLiteral("volume"), entry.Volume},
            {QStringLiteral("speed"), entry.Speed},
            {QStringLiteral("repeat"), entry.Repeat != 0},
            {QStringLiteral("in"), secondsOf(entry.InPoint)},
            {QStringLiteral("out"), secondsOf(entry.OutPoint)},
        });
    }
    const OutputSettings& output = contents.output;
    QJsonObject outputObject{
        {QStringLiteral("width"), output.OutputWidth},
        {QStringLiteral("height"), output.OutputHigh},
        {QStringLiteral("frameRate"), output.OutputFrameRate},
        {QStringLiteral("resize"),
         QLatin1String(output.ResizeMode == kStretchMode ? kStretchName
                                                         : kPreserveAspectRatioName)},
        {QStringLiteral("videoCompression"), output.UseVideoCompressor},
        {QStringLiteral("audioCompression"), output.UseAudioCompressor},
    };
    if (!output.OutputName.empty()) {
        outputObject.insert(QStringLiteral("file"), storedPath(output.OutputName, projectFolder));
    }
    if (!contents.compressorNames.video.isEmpty()) {
        outputObject.insert(QStringLiteral("videoCompressor"), contents.compressorNames.video);
    }
    if (!contents.compressorNames.audio.isEmpty()) {
        outputObject.insert(QStringLiteral("audioCompressor"), contents.compressorNames.audio);
    }
    const QJsonObject root{
        {QStringLiteral("format"), QLatin1String(kProjectFormatName)},
        {QStringLiteral("version"), kProjectFormatVersion},
        {QStringLiteral("videos"), videos},
        {QStringLiteral("audios"), audios},
        {QStringLiteral("output"), outputObject},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

ProjectReadResult readProjectText(const QByteArray& text, const ProjectReadContext& context) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return {std::nullopt, QStringLiteral("The project file is not valid JSON (%1 at byte %2).")
                                  .arg(parseError.errorString())
                                  .arg(parseError.offset)};
    }
    if (!document.isObject()) {
        return {std::nullopt, QStringLiteral("The project file is not a JSON object.")};
    }
    const QJsonObject root = document.object();
    if (root.value(QLatin1String("format")).toString() != QLatin1String(kProjectFormatName)) {
        return {std::nullopt, QStringLiteral("The file is not an Orvindel project "
                                             "(\"format\" is not \"%1\").")
                                  .arg(QLatin1String(kProjectFormatName))};
    }
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble() || version.toDouble() != std::floor(version.toDouble()) ||
        version.toDouble() < 1) {
        return {std::nullopt, QStringLiteral("\"version\" of the project is not a whole number.")};
    }
    if (version.toDouble() > kProjectFormatVersion) {
        return {std::nullopt, QStringLiteral("The project was written in version %1 of the "
                                             "format; this Orvindel reads up to version %2.")
                                  .arg(version.toInt())
                                  .arg(kProjectFormatVersion)};
    }
    try {
        return {Reader(context).read(root), {}};
    } catch (const Refusal& refusal) {
        return {std::nullopt, refusal.problem};
    }
}

namespace {

template <typename Entry>
QString spanProblemOf(const std::vector<Entry>& entries, const char* kind) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        // A millisecond of slack: the file stores seconds, read back to the nearest tick.
        constexpr RefTime kSlack = 10'000;
        if (entry.InPoint >= entry.Duration || entry.OutPoint > entry.Duration + kSlack) {
            return QStringLiteral(
                       "The span of %1 %2 (%3) lies beyond the end of its file "
                       "(%4 s).")
                .arg(QLatin1String(kind))
                .arg(i + 1)
                .arg(QString::fromStdString(entry.FileName))
                .arg(secondsOf(entry.Duration), 0, 'f', 3);
        }
    }
    return {};
}

template <typename Entry>
void holdOutPointsInside(std::vector<Entry>& entries) {
    for (Entry& entry : entries) {
        if (entry.OutPoint >= entry.Duration) {
            entry.OutPoint = 0;
        }
    }
}

}  // namespace

QString checkSpansWithinFiles(ProjectContents& probed) {
    QString problem = spanProblemOf(probed.videos, "video");
    if (problem.isEmpty()) {
        problem = spanProblemOf(probed.audios, "audio");
    }
    if (problem.isEmpty()) {
        holdOutPointsInside(probed.videos);
        holdOutPointsInside(probed.audios);
    }
    return problem;
}

}  // namespace mixer
