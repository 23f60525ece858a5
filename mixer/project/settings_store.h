#pragma once

#include <QString>

namespace mixer {

// One remembered value: its section (a QSettings group), its key and the value a missing
// entry reads as. Keys are spelled exactly as they are stored.
struct IntegerSetting {
    const char* section;
    const char* key;
    int defaultValue;
};

// Where the default of a text setting lives: as written, or as a file name in the user's
// home folder (the default output file is ~/video_new.avi, an absolute path).
enum class DefaultLocation { AsWritten, InHomeFolder };

struct TextSetting {
    const char* section;
    const char* key;
    const char* defaultValue;
    DefaultLocation defaultLocation = DefaultLocation::AsWritten;

    // The default with its location applied (an absolute path for InHomeFolder).
    QString resolvedDefault() const;
};

// The complete set of values Orvindel reads or writes.
namespace settings {
inline constexpr TextSetting kOutputName{"Settings", "OutputName", "video_new.avi",
                                         DefaultLocation::InHomeFolder};
inline constexpr IntegerSetting kOutputWidth{"Settings", "OutputWidth", 352};
inline constexpr IntegerSetting kOutputHigh{"Settings", "OutputHigh", 240};
// 1: the frame size is the first clip's (OutputWidth and OutputHigh are then kept unused);
// absent or 0: OutputWidth x OutputHigh.
inline constexpr IntegerSetting kOutputSizeFromFirstClip{"Settings", "OutputSizeFromFirstClip", 0};
inline constexpr IntegerSetting kOutputFrameRateIndex{"Settings", "OutputFrameRateIndex", 0};
// Read only when "OutputFrameRateIndex" is the custom entry.
inline constexpr TextSetting kOutputFrameRate{"Settings", "OutputFrameRate", "23.976"};
// -2: never chosen (use the default compressor), -1: none, >= 0: position in the list.
inline constexpr IntegerSetting kVideoCompressorNumber{"DexVideoCompress", "CompressorNumber", -2};
inline constexpr IntegerSetting kAudioCompressorNumber{"DexAudioCompress", "CompressorNumber", -2};
// The compressors of the other containers are stored by libavcodec encoder name under each
// container's own group of the container table ("VideoEncoder", "AudioEncoder"; empty: never
// chosen, use the container's default); the AVI choices above keep their positions.
// Transition defaults are read at start-up and written by the transition defaults dialog's OK.
inline constexpr IntegerSetting kTransitionDuration{"TransitionSettings", "TransitionDuration", 0};
inline constexpr IntegerSetting kTransitionType{"TransitionSettings", "TransitionType", 0};
inline constexpr IntegerSetting kTransitionName{"TransitionSettings", "TransitionName", 0};
// 0: today's placement (pictures half the first transition early), non-zero: clips' own sound
// in step with their pictures.
inline constexpr IntegerSetting kClipSoundInStep{"TransitionSettings", "ClipSoundInStep", 0};
// Folders of the last added files, each ending in '/' (empty: the dialog's own choice).
inline constexpr TextSetting kLastPhotoFolder{"Option", "LastPhotoFolder", ""};
inline constexpr TextSetting kLastAudioFolder{"Option", "LastAudioFolder", ""};
}  // namespace settings

// The per-user profile: QSettings of the maker "Korvane" and the program's name, one group
// per section, integers stored as integers and texts as strings. Every call goes to the
// profile itself (no cache of our own), so a value written is read back at once by anyone.
// A value that is missing, or cannot be read as its type, reads as the given default; the
// profile is never pre-filled. A failed write is not reported. Use on the UI thread.
class SettingsStore {
  public:
    static constexpr const char* kOrganisation = "Korvane";
    static constexpr const char* kApplication = "orvindel";

    SettingsStore();
    SettingsStore(QString organisation, QString application);

    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    QString readText(const QString& section, const QString& key, const QString& defaultValue) const;
    void writeInteger(const QString& section, const QString& key, int value);
    void writeText(const QString& section, const QString& key, const QString& value);

    int read(const IntegerSetting& setting) const;
    QString read(const TextSetting& setting) const;
    void write(const IntegerSetting& setting, int value);
    void write(const TextSetting& setting, const QString& value);

    // True when the profile holds a value for the key (for tests and diagnostics).
    bool contains(const QString& section, const QString& key) const;

  private:
    QString organisation_;
    QString application_;
};

}  // namespace mixer
