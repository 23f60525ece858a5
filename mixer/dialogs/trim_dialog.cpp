#include "mixer/dialogs/trim_dialog.h"

#include "editing/preview/clip_frame.h"
#include "mixer/dialogs/trim_frame_loader.h"
#include "mixer/project/media_lists.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QVBoxLayout>

namespace mixer {

TrimDialog::TrimDialog(const std::string& fileName, RefTime durationRefTime, RefTime in,
                       RefTime out, QWidget* parent)
    : QDialog(parent), editor_(durationRefTime, editing::clipFrameRate(fileName), in, out) {
    setWindowTitle(QStringLiteral("%1 - %2").arg(
        QString::fromUtf8(kTrimTitle), QFileInfo(QString::fromStdString(fileName)).fileName()));

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("trimPicture"));
    picture_->setFixedSize(kPictureWidth, kPictureHeight);
    picture_->setStyleSheet(QStringLiteral("background: black"));

    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("trimPosition"));
    slider_->setRange(0, editor_.frameCount() - 1);
    slider_->setPageStep(10);
    position_ = new QLabel(this);
    position_->setObjectName(QStringLiteral("trimPositionTime"));

    inField_ = new QLineEdit(this);
    inField_->setObjectName(QStringLiteral("trimIn"));
    outField_ = new QLineEdit(this);
    outField_->setObjectName(QStringLiteral("trimOut"));
    auto* setIn = new QPushButton(QStringLiteral("Set &in (I)"), this);
    auto* setOut = new QPushButton(QStringLiteral("Set &out (O)"), this);
    for (QPushButton* button : {setIn, setOut}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
    }

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* times = new QFormLayout;
    times->addRow(QStringLiteral("Position:"), position_);
    times->addRow(QStringLiteral("In:"), inField_);
    times->addRow(QStringLiteral("Out:"), outField_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture_, 0, Qt::AlignHCenter);
    layout->addWidget(slider_);
    layout->addLayout(times);
    auto* marks = new QHBoxLayout;
    marks->addWidget(setIn);
    marks->addWidget(setOut);
    layout->addLayout(marks);
    layout->addWidget(buttons_);

    frames_ = new TrimFrameLoader(fileName, kPictureWidth, kPictureHeight,
                                  [this](RefTime mediaTime, QImage image) {
                                      shownPictureRefTime_ = mediaTime;
                                      picture_->setPixmap(QPixmap::fromImage(image));
                                  });

    connect(slider_, &QSlider::valueChanged, this, [this](int frame) {
        editor_.moveToFrame(frame);
        showPosition();
    });
    const auto mark = [this](void (TrimEditor::*set)()) {
        (editor_.*set)();
        showSpan();
    };
    connect(setIn, &QPushButton::clicked, this, [=] { mark(&TrimEditor::setInHere); });
    connect(setOut, &QPushButton::clicked, this, [=] { mark(&TrimEditor::setOutHere); });
    // The fields keep their own arrow keys and letters: a line edit takes those keys before
    // a window shortcut sees them.
    new QShortcut(QKeySequence(Qt::Key_I), this, [=] { mark(&TrimEditor::setInHere); });
    new QShortcut(QKeySequence(Qt::Key_O), this, [=] { mark(&TrimEditor::setOutHere); });
    new QShortcut(QKeySequence(Qt::Key_Left), this,
                  [this] { slider_->setValue(editor_.positionFrame() - 1); });
    new QShortcut(QKeySequence(Qt::Key_Right), this,
                  [this] { slider_->setValue(editor_.positionFrame() + 1); });
    connect(inField_, &QLineEdit::editingFinished, this,
            [this] { takeTypedTime(*inField_, &TrimEditor::setInTime); });
    connect(outField_, &QLineEdit::editingFinished, this,
            [this] { takeTypedTime(*outField_, &TrimEditor::setOutTime); });

    slider_->setValue(editor_.positionFrame());
    showPosition();
    showSpan();
    slider_->setFocus();
}

TrimDialog::~TrimDialog() {
    delete frames_;  // waits for the picture in progress before the handler's widgets go
}

void TrimDialog::showPosition() {
    if (slider_->value() != editor_.positionFrame()) {
        slider_->setValue(editor_.positionFrame());  // comes back through valueChanged
        return;
    }
    position_->setText(trimTimeText(editor_.positionRefTime()));
    frames_->show(editor_.positionRefTime());
}

void TrimDialog::showSpan() {
    inField_->setText(trimTimeText(editor_.in()));
    outField_->setText(trimTimeText(editor_.out()));
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(editor_.in() < editor_.out());
}

void TrimDialog::takeTypedTime(QLineEdit& field, bool (TrimEditor::*apply)(RefTime)) {
    const std::optional<RefTime> typed = parseTrimTime(field.text());
    // A time that cannot be taken shows the point as it stays.
    if (typed) {
        static_cast<void>((editor_.*apply)(*typed));
    }
    showSpan();
    showPosition();
}

bool trimListEntry(MediaLists& lists, TrimList list, int row, QWidget* owner) {
    const MixJob& job = lists.job();
    const bool video = list == TrimList::Video;
    const auto count = video ? job.videos.size() : job.audios.size();
    if (row < 0 || static_cast<std::size_t>(row) >= count) {
        return false;
    }
    const auto index = static_cast<std::size_t>(row);
    const std::string fileName = video ? job.videos[index].FileName : job.audios[index].FileName;
    const RefTime duration = video ? job.videos[index].Duration : job.audios[index].Duration;
    const RefTime in = video ? job.videos[index].InPoint : job.audios[index].InPoint;
    const RefTime end =
        video ? playedEndRefTime(job.videos[index]) : playedEndRefTime(job.audios[index]);

    TrimDialog dialog(fileName, duration, in, end, owner);
    if (dialog.exec() != QDialog::Accepted ||
        (dialog.inPoint() == in && dialog.outPoint() == end)) {
        return false;
    }
    return video ? lists.trimVideo(row, dialog.inPoint(), dialog.outPoint())
                 : lists.trimAudio(row, dialog.inPoint(), dialog.outPoint());
}

}  // namespace mixer
