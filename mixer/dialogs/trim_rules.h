#pragma once

#include "editing/core/ref_time.h"
#include "editing/preview/clip_frame.h"

#include <QString>

#include <optional>

namespace mixer {

using editing::RefTime;

// The rules of the trim dialog, apart from its window: times as the dialog writes and reads
// them, and the position, in point and out point it edits.

// A time as "h:mm:ss.fff", rounded to the millisecond: 754,321,000 -> "0:01:15.432".
QString trimTimeText(RefTime time);

// A typed time: "h:mm:ss.fff", "m:ss.fff" or plain seconds ("75.4"), the fraction optional,
// blanks around it ignored. Nothing for any other text or a negative time.
std::optional<RefTime> parseTrimTime(const QString& text);

// The span being edited in a file `durationRefTime` long, moved in whole frames of the file's
// frame rate (25 per second when the file has no picture rate, as a sound file has). Frame k
// shows from the first 100-ns tick at or after its time on, which is where the render takes
// it. The span [in, out) is never empty.
class TrimEditor {
  public:
    // `out` is the end of the span (0 = the end of the file); a span that is not a non-empty
    // part of the file starts as the whole file. The position starts at the in point.
    TrimEditor(RefTime durationRefTime, editing::ClipFrameRate rate, RefTime in, RefTime out);

    RefTime durationRefTime() const { return duration_; }
    int frameCount() const { return frameCount_; }  // frames that start inside the file, >= 1
    int positionFrame() const { return frame_; }
    RefTime positionRefTime() const { return frameTime(frame_); }
    RefTime in() const { return in_; }
    RefTime out() const { return out_; }  // the end of the span in file time (never 0)

    void moveToFrame(int frame);  // held inside 0 .. frameCount() - 1
    void stepFrames(int count) { moveToFrame(frame_ + count); }

    // The in point at the position; an out point at or before it moves to the end of the file.
    void setInHere();
    // The out point after the frame at the position, so that frame is the last that plays; an
    // in point at or after it moves to the start of the file.
    void setOutHere();
    // A typed in point: refused (false, nothing changes) unless it lies before the out point.
    // The position moves to it.
    bool setInTime(RefTime time);
    // A typed out point: refused unless it lies after the in point and within the file (the
    // file's end shown rounded up to the millisecond is taken as the end).
    bool setOutTime(RefTime time);

    RefTime frameTime(int frame) const;
    int frameAt(RefTime time) const;

  private:
    RefTime duration_;
    long long frames_;      // of the frame rate
    long long perSeconds_;  // of the frame rate
    int frameCount_ = 1;
    int frame_ = 0;
    RefTime in_ = 0;
    RefTime out_ = 0;
};

}  // namespace mixer
