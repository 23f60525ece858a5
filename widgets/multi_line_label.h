#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace widgets {

// Horizontal alignment of every line (the low two bits of the template's static style).
enum class LineAlignment : int { Left = 0, Centre = 1, Right = 2 };

// What assistive technology is told a label is: a plain label, or the status line of a window
// (announced as a status bar, so screen readers treat its changes as status messages).
enum class LabelKind : int { Label, StatusLine };

// A label that paints its text line by line and paints no background, so whatever its parent
// draws behind it shows through. Lines are separated by '\n'. Left lines start 2 px from the
// left edge, right lines end 2 px before the right edge, centred lines are centred each on its
// own width; each line is one line height + 1 px below the previous one. While disabled an
// offset copy (+1, +1) in the disabled colour is drawn under every line.
//
// The text given at construction is the template text (at most 255 characters kept), which
// `windowText()` keeps returning for the label's whole life. Until setText is called once,
// only its first line is shown. setText keeps up to 1023 characters, shows every line and asks
// the parent to repaint the area under the label (grown by 3 px on every side), since the old
// text is not painted over. GUI thread only.
class MultiLineLabel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMaximumTextLength = 1023;
    static constexpr int kMaximumTemplateTextLength = 255;

    explicit MultiLineLabel(const QString& templateText = {},
                            LineAlignment alignment = LineAlignment::Left,
                            QWidget* parent = nullptr);

    void setText(const QString& text);
    // The text shown (all of it, even the lines not yet shown).
    QString text() const { return m_text; }
    // The template text, unchanged by setText.
    QString windowText() const { return m_windowText; }
    // Lines painted: 1 until the first setText, then 1 + the number of line feeds.
    int lineCount() const { return m_lineCount; }

    void setLineAlignment(LineAlignment alignment);
    LineAlignment lineAlignment() const { return m_alignment; }

    // Both black unless set.
    void setTextColour(const QColor& colour);
    void setDisabledColour(const QColor& colour);
    QColor textColour() const { return m_textColour; }
    QColor disabledColour() const { return m_disabledColour; }

    // A label, unless set; either way its accessible name is the text shown (lines joined by
    // blanks).
    void setLabelKind(LabelKind kind) { m_labelKind = kind; }
    LabelKind labelKind() const { return m_labelKind; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString m_windowText;
    QString m_text;
    int m_lineCount = 1;
    LineAlignment m_alignment = LineAlignment::Left;
    QColor m_textColour = Qt::black;
    QColor m_disabledColour = Qt::black;
    LabelKind m_labelKind = LabelKind::Label;
};

}  // namespace widgets
