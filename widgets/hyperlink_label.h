#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>
#include <QUrl>

namespace base {
class LauncherPort;
class PromptPort;
}  // namespace base

namespace widgets {

// -1 underline only while hovered (the default), 0 never, 1 always. Mode 1 is the "display
// mode 1" the About boxes switch their links to: the text reads as a link at all times.
enum class UnderlineMode : int { WhileHovered = -1, Never = 0, Always = 1 };

// A label that opens an address with the desktop when clicked. Colours: link (0, 0, 238)
// until the address was opened successfully once, then visited (85, 26, 139); hover
// (255, 0, 0) while the mouse is over it, together with the hand cursor. Its tooltip shows the
// address.
//
// An empty address stands for the label's own text; an empty text shows the address. While
// "adjust to fit" is on (the default) the label resizes itself to its text measured in the
// underlined font, keeping its horizontal centre (Qt::AlignHCenter), its right edge
// (Qt::AlignRight) or else its left edge, and its vertical centre (Qt::AlignVCenter) or else
// its top. The first refit happens when the label is first shown, after its window placed it.
//
// Tab reaches the label (a focus frame shows it), and Enter, Return or Space then opens the
// address as a click does; assistive technology sees a link with a "press" action.
//
// A failed open sounds the beep and shows "Unable to open hyperlink:\n\n" and the line of
// hyperlinkFailureText through the prompt port with the warning icon; the label stays
// unvisited. The ports must outlive the label. GUI thread only.
class HyperlinkLabel : public QLabel {
    Q_OBJECT
  public:
    static inline const QColor kLinkColour{0, 0, 238};
    static inline const QColor kVisitedColour{85, 26, 139};
    static inline const QColor kHoverColour{255, 0, 0};

    HyperlinkLabel(const QString& text, base::LauncherPort& launcher, base::PromptPort& prompt,
                   QWidget* parent = nullptr);
    ~HyperlinkLabel() override;

    // Stores the address (empty: the label's text is the address), shows it as the text when
    // the label has none, refits and updates the tooltip.
    void setAddress(const QString& address);
    // What a click opens: the stored address, or the label's text when none is stored.
    QString address() const;

    // Replaces the text and refits (QLabel::setText does not refit).
    void setText(const QString& text);

    void setUnderlineMode(UnderlineMode mode);
    UnderlineMode underlineMode() const { return m_underlineMode; }

    void setAdjustToFit(bool adjustToFit);
    // Resizes the label to its text as described above; does nothing while adjust to fit is
    // off.
    void refitToText();

    void setLinkColours(const QColor& link, const QColor& visited, const QColor& hover);
    // The colour the text is drawn in now: hover while over, else visited once visited, else
    // link.
    QColor currentTextColour() const;
    bool isVisited() const { return m_visited; }
    void setVisited(bool visited);
    bool isHovered() const { return m_over; }

    // Opens the address as a click does; true when it was opened.
    bool openAddress();

  signals:
    // Emitted after every click, with whether the address could be opened.
    void linkActivated(bool opened);

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void applyLook();
    void showFailure(int resultCode);

    base::LauncherPort& m_launcher;
    base::PromptPort& m_prompt;
    QString m_address;
    QColor m_linkColour = kLinkColour;
    QColor m_visitedColour = kVisitedColour;
    QColor m_hoverColour = kHoverColour;
    bool m_over = false;
    bool m_visited = false;
    UnderlineMode m_underlineMode = UnderlineMode::WhileHovered;
    bool m_adjustToFit = true;
    bool m_applyingLook = false;
    bool m_fittedAtFirstShow = false;
};

}  // namespace widgets
