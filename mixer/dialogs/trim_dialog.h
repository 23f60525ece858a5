#pragma once

#include "mixer/dialogs/trim_rules.h"

#include <QDialog>

#include <string>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace mixer {

class MediaLists;
class TrimFrameLoader;

inline constexpr const char* kTrimTitle = "Trim";
inline constexpr const char* kTrimMenuText = "Trim...";

// The span of one list entry's file that plays: the picture at a position (decoded on another
// thread), a slider over the file's frames, the in and out times as "h:mm:ss.fff" (typed ones
// take effect when the field is left or Enter is pressed). Left / Right step one frame; I and
// O set the in and out points at the position. OK offers the span in inPoint() / outPoint();
// Cancel leaves the entry as it was. UI thread only.
class TrimDialog : public QDialog {
    Q_OBJECT
  public:
    TrimDialog(const std::string& fileName, RefTime durationRefTime, RefTime in, RefTime out,
               QWidget* parent = nullptr);
    ~TrimDialog() override;

    RefTime inPoint() const { return editor_.in(); }
    RefTime outPoint() const { return editor_.out(); }  // the end of the span (never 0)
    const TrimEditor& editor() const { return editor_; }
    // The media time of the picture shown last (-1 before the first one arrives).
    RefTime shownPictureRefTime() const { return shownPictureRefTime_; }

    static constexpr int kPictureWidth = 320;
    static constexpr int kPictureHeight = 240;

  private:
    void showPosition();
    void showSpan();
    void takeTypedTime(QLineEdit& field, bool (TrimEditor::*apply)(RefTime));

    TrimEditor editor_;
    QLabel* picture_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* position_ = nullptr;
    QLineEdit* inField_ = nullptr;
    QLineEdit* outField_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    TrimFrameLoader* frames_ = nullptr;
    RefTime shownPictureRefTime_ = -1;
};

enum class TrimList { Video, Audio };

// Opens the trim dialog on entry `row` of `list` and, when it is accepted with a changed span,
// trims the entry through `lists` (one undo step; a video's following companion goes with it).
// False when the row does not exist, the dialog is cancelled or nothing changed.
bool trimListEntry(MediaLists& lists, TrimList list, int row, QWidget* owner);

}  // namespace mixer
