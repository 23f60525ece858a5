#pragma once

#include <QColor>
#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QPoint>
#include <QPushButton>
#include <QSize>
#include <QString>

#include <optional>

namespace widgets {

// Where the icon sits relative to the caption. The numbers are the values the windows'
// set-up tables use; setAlignment refuses anything else.
enum ImageButtonAlignment : int {
    IconLeftOfCaption = 0,
    IconAboveCaption = 1,
    IconRightOfCaption = 2,
    IconOverCaption = 3,  // icon at the top-left corner, caption laid over the whole button
};

// The three colour pairs (background, text) of a button, chosen by its state when painted.
enum class ButtonColourState { HoveredOrPressed = 1, Normal = 2, Focused = 3 };

enum class Redraw { No, Yes };
enum class TooltipActivation { Inactive, Active };

// A push button that paints itself: an icon beside, above or over its caption, a flat look
// that shows a raised border only while the mouse is over it, an engraved caption and greyed
// icon while disabled, its own hover cursor and tooltip. With transparent drawing it paints
// the parent's pixels that were under it at its first transparent paint (a snapshot kept until
// the palette or style changes), so it sits cleanly on a tiled window background.
//
// The button takes the keyboard focus from Tab only, never from a mouse click: a click leaves
// the focus where it was, so a later Enter reaches the window's own Enter handling (its
// default button) rather than pressing the clicked button again. A button the user has tabbed
// to is pressed by Space and by Enter.
//
// Hover ends when the mouse leaves, when the button loses the focus and when its window is
// deactivated. Disabling a focused button moves the focus on to the next control.
// Double clicks count as two clicks. Everything runs on the GUI thread.
class ImageButton : public QPushButton {
    Q_OBJECT
  public:
    static constexpr int kResultOk = 0;
    static constexpr int kResultAlignmentRefused = 4;
    static constexpr int kResultCursorNotLoaded = 1;

    explicit ImageButton(QWidget* parent = nullptr);
    ImageButton(const QString& caption, QWidget* parent = nullptr);
    ~ImageButton() override;

    // Icons are drawn at `iconSize` (device-independent pixels, crisp on high-density
    // screens when the icon is scalable). The second icon, when not null, is shown while the
    // button is neither hovered nor pressed. A null `icon` removes both icons.
    void setIcons(const QIcon& icon, QSize iconSize, const QIcon& secondIcon = {});
    // Loads the icon(s) from image files or resources (":/images/...", SVG or bitmap) at the
    // size stored in the file. An empty second path means no second icon. Returns false and
    // leaves the button without icons when the first file cannot be loaded.
    bool setIconFiles(const QString& iconPath, const QString& secondIconPath = {});
    bool hasIcon() const { return !m_icon.isNull(); }
    QSize iconDrawSize() const { return m_iconSize; }

    // kResultOk, or kResultAlignmentRefused (nothing changes) outside 0..3.
    int setAlignment(int alignment, Redraw redraw = Redraw::Yes);
    int alignment() const { return m_alignment; }

    // Flat look (the default): no border unless hovered or pressed. Off: a raised button edge,
    // and a black frame while focused or default.
    int setFlatLook(bool flat, Redraw redraw = Redraw::Yes);
    bool isFlatLook() const { return m_flat; }
    void setDrawBorder(bool drawBorder, Redraw redraw = Redraw::Yes);
    // Draw the dotted focus rectangle also in the flat look (off unless set).
    void setDrawFlatFocus(bool drawFlatFocus, Redraw redraw = Redraw::Yes);
    bool drawsFlatFocus() const { return m_drawFlatFocus; }
    // When set (the default) hover highlighting also works while no window of the program is
    // active.
    void setAlwaysTrack(bool alwaysTrack) { m_alwaysTrack = alwaysTrack; }

    // Horizontal and vertical gap between the button's edge and the icon (default 3, 3).
    void setMargins(QPoint margins, Redraw redraw = Redraw::Yes);
    QPoint margins() const { return m_margins; }
    // How far icon and caption move while pressed (default 1, 1).
    void setPressedOffset(QPoint offset, Redraw redraw = Redraw::Yes);

    void setColours(ButtonColourState state, const QColor& background, const QColor& text,
                    Redraw redraw = Redraw::Yes);
    QColor backgroundColour(ButtonColourState state) const;
    QColor textColour(ButtonColourState state) const;
    // Back to the palette's button and button-text colours for all three pairs (also done on
    // every palette or style change).
    void resetColours(Redraw redraw = Redraw::Yes);

    // Cursor shown while the mouse is over the button. kResultCursorNotLoaded when the image
    // cannot be loaded (the previous cursor is removed all the same); an empty path removes
    // the cursor. The hot spot is in the image's own pixels at its stored size.
    int setHoverCursor(const QString& imagePath, QPoint hotSpot);
    void setHoverCursor(const QCursor& cursor);
    void removeHoverCursor();
    bool hasHoverCursor() const { return m_hasHoverCursor; }

    // Sets the tooltip text and activates or deactivates it. An empty text is ignored.
    void setTooltipText(const QString& text,
                        TooltipActivation activation = TooltipActivation::Active);
    void activateTooltip(TooltipActivation activation);
    QString tooltipText() const { return m_tooltipText; }

    // Paint the parent's background instead of a colour fill; discards any snapshot so that
    // the next paint takes a new one.
    void setDrawTransparent(Redraw redraw = Redraw::Yes);
    bool isTransparent() const { return m_transparent; }
    bool hasBackgroundSnapshot() const { return !m_backgroundSnapshot.isNull(); }

    bool isHovered() const { return m_hovered; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void updateHoverFromPointer(bool pointerInside);
    void clearHover();
    void takeBackgroundSnapshot();
    // What one paint event draws from: the button's state when the event began.
    struct PaintState {
        bool pressed = false;
        bool focused = false;
        bool disabled = false;
    };
    ButtonColourState colourState(const PaintState& state) const;
    void paintBackground(QPainter& painter, QRect& itemRect, const PaintState& state);
    void paintBorder(QPainter& painter, const QRect& itemRect, const PaintState& state);
    QRect placeIcon(const QRect& itemRect, QRect& captionRect, const PaintState& state) const;
    void paintIcon(QPainter& painter, const QRect& iconRect, const PaintState& state) const;
    void paintCaption(QPainter& painter, QRect captionRect, const PaintState& state) const;
    void redrawIf(Redraw redraw);

    bool m_flat = true;
    bool m_drawBorder = true;
    bool m_alwaysTrack = true;
    bool m_drawFlatFocus = false;
    int m_alignment = IconLeftOfCaption;
    bool m_hovered = false;
    QPoint m_margins{3, 3};
    QPoint m_pressedOffset{1, 1};
    // Unset: the palette's button / button-text colour.
    std::optional<QColor> m_background[3];
    std::optional<QColor> m_text[3];
    QIcon m_icon;
    QIcon m_secondIcon;
    QSize m_iconSize;
    bool m_transparent = false;
    QPixmap m_backgroundSnapshot;
    bool m_hasHoverCursor = false;
    QString m_tooltipText;
};

}  // namespace widgets
