#include "mixer/cli/command_line.h"

#include "mixer/project/project_file.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace mixer {

namespace {

constexpr int kLargestSide = 16384;

bool takeSize(const QString& text, CommandLine& line) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return false;
    }
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).toInt();
    if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide) {
        return false;
    }
    line.width = width;
    line.height = height;
    return true;
}

ParsedCommandLine wrong(const QString& problem) {
    return {std::nullopt, problem};
}

}  // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine line;
    bool render = false;
    bool onlyFiles = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= arguments.size()) {
                return std::nullopt;
            }
            return arguments[++i];
        };
        if (onlyFiles || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            line.files << argument;
        } else if (argument == QLatin1String("--")) {
            onlyFiles = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            return {CommandLine{CommandMode::Help, {}, {}, {}, {}, {}}, {}};
        } else if (argument == QLatin1String("--version")) {
            return {CommandLine{CommandMode::Version, {}, {}, {}, {}, {}}, {}};
        } else if (argument == QLatin1String("--render")) {
            render = true;
        } else if (argument == QLatin1String("-o") || argument == QLatin1String("--output")) {
            const std::optional<QString> output = value();
            if (!output || output->isEmpty()) {
                return wrong(QStringLiteral("%1 needs a file name.").arg(argument));
            }
            line.outputFileName = *output;
        } else if (argument == QLatin1String("--size")) {
            const std::optional<QString> size = value();
            if (!size || !takeSize(*size, line)) {
                return wrong(QStringLiteral("--size needs WIDTHxHEIGHT, e.g. 1280x720."));
            }
        } else if (argument == QLatin1String("--rate")) {
            const std::optional<QString> rate = value();
            bool isNumber = false;
            const double framesPerSecond = rate ? rate->toDouble(&isNumber) : 0;
            if (!isNumber || !(framesPerSecond >= 0.001 && framesPerSecond <= 1000)) {
                return wrong(QStringLiteral("--rate needs frames per second, e.g. 25."));
            }
            line.frameRate = framesPerSecond;
        } else {
            return wrong(QStringLiteral("Unknown option %1.").arg(argument));
        }
    }
    if (!render) {
        if (!line.outputFileName.isEmpty() || line.width || line.frameRate) {
            return wrong(QStringLiteral("-o, --size and --rate go with --render."));
        }
        return {line, {}};
    }
    line.mode = CommandMode::Render;
    if (line.files.isEmpty()) {
        return wrong(QStringLiteral("--render needs a project or media files."));
    }
    const bool project = line.files.size() == 1 && isProjectFileName(line.files.front());
    for (const QString& file : line.files) {
        if (isProjectFileName(file) && !project) {
            return wrong(QStringLiteral("--render takes one project, or media files."));
        }
    }
    if (!project && line.outputFileName.isEmpty()) {
        return wrong(QStringLiteral("Rendering media files needs -o OUTPUT."));
    }
    return {line, {}};
}

QString commandLineHelpText() {
    return QStringLiteral(
        "Usage: orvindel [FILE...]\n"
        "       orvindel --render PROJECT [-o OUTPUT] [--size WxH] [--rate FPS]\n"
        "       orvindel --render -o OUTPUT [--size WxH] [--rate FPS] MEDIA...\n"
        "\n"
        "Without --render the window opens: a project file (*.orvindel) is opened, video\n"
        "files are added with their sound, sound files are added to the audio list.\n"
        "\n"
        "  --render        render without a window or display, progress on stderr\n"
        "  -o, --output    the output file; .avi, .mp4 or .mkv picks the container\n"
        "  --size WxH      output width and height in pixels\n"
        "  --rate FPS      output frame rate\n"
        "  --help          this text\n"
        "  --version       the program's version\n"
        "\n"
        "Exit status: 0 done, 1 bad arguments or input (nothing written), 2 the render\n"
        "failed, 130 stopped by SIGINT (Ctrl+C), 143 stopped by SIGTERM.\n");
}

bool isProjectFileName(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String(kProjectFileSuffix),
                                            Qt::CaseInsensitive) == 0;
}

bool isSoundFileName(const QString& path) {
    static const QStringList soundSuffixes{
        QStringLiteral("mp3"),  QStringLiteral("wma"),  QStringLiteral("wav"),
        QStringLiteral("ac3"),  QStringLiteral("ogg"),  QStringLiteral("mpa"),
        QStringLiteral("mp2"),  QStringLiteral("au"),   QStringLiteral("aif"),
        QStringLiteral("aiff"), QStringLiteral("snd"),  QStringLiteral("ra"),
        QStringLiteral("flac"), QStringLiteral("opus"), QStringLiteral("m4a"),
        QStringLiteral("aac")};
    return soundSuffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
}

}  // namespace mixer
