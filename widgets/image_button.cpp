#include "widgets/image_button.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>

#include "widgets/image_loading.h"

namespace widgets {
namespace {

int pairIndex(ButtonColourState state) {
    return static_cast<int>(state) - 1;
}

// One-pixel edges of a 3-D rectangle: top and left in `topLeft`, bottom and right in
// `bottomRight`.
void draw3dRect(QPainter& painter, const QRect& rect, const QColor& topLeft,
                const QColor& bottomRight) {
    if (rect.width() < 2 || rect.height() < 2) {
        return;
    }
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width() - 1, 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height() - 1), topLeft);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
}

}  // namespace

ImageButton::ImageButton(QWidget* parent) : ImageButton(QString(), parent) {}

ImageButton::ImageButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
}

ImageButton::~ImageButton() = default;

void ImageButton::setIcons(const QIcon& icon, QSize iconSize, const QIcon& secondIcon) {
    if (icon.isNull()) {
        m_icon = QIcon();
        m_secondIcon = QIcon();
        m_iconSize = QSize();
    } else {
        m_icon = icon;
        m_secondIcon = secondIcon;
        m_iconSize = iconSize;
    }
    update();
}

bool ImageButton::setIconFiles(const QString& iconPath, const QString& secondIconPath) {
    const auto first = loadIconFile(iconPath);
    if (!first) {
        setIcons(QIcon(), QSize());
        return false;
    }
    QIcon second;
    if (!secondIconPath.isEmpty()) {
        if (const auto loaded = loadIconFile(secondIconPath)) {
            second = loaded->icon;
        }
    }
    setIcons(first->icon, first->size, second);
    return true;
}

int ImageButton::setAlignment(int alignment, Redraw redraw) {
    if (alignment < IconLeftOfCaption || alignment > IconOverCaption) {
        return kResultAlignmentRefused;
    }
    m_alignment = alignment;
    redrawIf(redraw);
    return kResultOk;
}

int ImageButton::setFlatLook(bool flat, Redraw redraw) {
    m_flat = flat;
    if (!m_flat) {
        m_hovered = false;
    }
    redrawIf(redraw);
    return kResultOk;
}

void ImageButton::setDrawBorder(bool drawBorder, Redraw redraw) {
    m_drawBorder = drawBorder;
    redrawIf(redraw);
}

void ImageButton::setDrawFlatFocus(bool drawFlatFocus, Redraw redraw) {
    m_drawFlatFocus = drawFlatFocus;
    redrawIf(redraw);
}

void ImageButton::setMargins(QPoint margins, Redraw redraw) {
    m_margins = margins;
    redrawIf(redraw);
}

void ImageButton::setPressedOffset(QPoint offset, Redraw redraw) {
    m_pressedOffset = offset;
    redrawIf(redraw);
}

void ImageButton::setColours(ButtonColourState state, const QColor& background, const QColor& text,
                             Redraw redraw) {
    m_background[pairIndex(state)] = background;
    m_text[pairIndex(state)] = text;
    redrawIf(redraw);
}

QColor ImageButton::backgroundColour(ButtonColourState state) const {
    return m_background[pairIndex(state)].value_or(palette().color(QPalette::Button));
}

QColor ImageButton::textColour(ButtonColourState state) const {
    return m_text[pairIndex(state)].value_or(palette().color(QPalette::ButtonText));
}

void ImageButton::resetColours(Redraw redraw) {
    for (int index = 0; index < 3; ++index) {
        m_background[index].reset();
        m_text[index].reset();
    }
    redrawIf(redraw);
}

int ImageButton::setHoverCursor(const QString& imagePath, QPoint hotSpot) {
    removeHoverCursor();
    if (imagePath.isEmpty()) {
        return kResultOk;
    }
    const auto cursor = loadCursorFile(imagePath, hotSpot);
    if (!cursor) {
        return kResultCursorNotLoaded;
    }
    setHoverCursor(*cursor);
    return kResultOk;
}

void ImageButton::setHoverCursor(const QCursor& cursor) {
    setCursor(cursor);
    m_hasHoverCursor = true;
}

void ImageButton::removeHoverCursor() {
    unsetCursor();
    m_hasHoverCursor = false;
}

void ImageButton::setTooltipText(const QString& text, TooltipActivation activation) {
    if (text.isEmpty()) {
        return;
    }
    m_tooltipText = text;
    activateTooltip(activation);
}

void ImageButton::activateTooltip(TooltipActivation activation) {
    // A button with a caption is named by it; an icon-only button by its tooltip.
    if (text().isEmpty()) {
        setAccessibleName(m_tooltipText);
    }
    setToolTip(activation == TooltipActivation::Active ? m_tooltipText : QString());
}

void ImageButton::setDrawTransparent(Redraw redraw) {
    m_transparent = true;
    m_backgroundSnapshot = QPixmap();
    redrawIf(redraw);
}

QSize ImageButton::sizeHint() const {
    const QSize textSize =
        text().isEmpty() ? QSize() : fontMetrics().size(Qt::TextShowMnemonic, text());
    const QSize icon = m_icon.isNull() ? QSize() : m_iconSize;
    int width = textSize.width();
    int height = textSize.height();
    if (m_alignment == IconAboveCaption) {
        width = std::max(width, icon.width());
        height += icon.height();
    } else if (m_alignment == IconOverCaption) {
        width = std::max(width, icon.width());
        height = std::max(height, icon.height());
    } else {
        width += icon.width();
        height = std::max(height, icon.height());
    }
    return QSize(width + 3 * m_margins.x(), height + 2 * m_margins.y());
}

void ImageButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    updateHoverFromPointer(true);
}

void ImageButton::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    clearHover();
}

void ImageButton::mouseMoveEvent(QMouseEvent* event) {
    QPushButton::mouseMoveEvent(event);
    updateHoverFromPointer(rect().contains(event->position().toPoint()));
}

void ImageButton::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    clearHover();
}

void ImageButton::keyPressEvent(QKeyEvent* event) {
    // Enter presses the focused button as Space does, in any window (QPushButton does so only
    // for default and auto-default buttons).
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            click();
            event->accept();
            return;
        }
    }
    QPushButton::keyPressEvent(event);
}

void ImageButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    switch (event->type()) {
        case QEvent::ActivationChange:
            if (!isActiveWindow()) {
                clearHover();
            }
            break;
        case QEvent::EnabledChange:
            if (!isEnabled()) {
                // Qt normally moves the focus on already; a disabled button never keeps it.
                if (hasFocus() && !focusNextChild() && parentWidget() != nullptr) {
                    parentWidget()->setFocus();
                }
                clearHover();
            }
            break;
        case QEvent::PaletteChange:
        case QEvent::StyleChange:
            // New system colours: the colour pairs follow them and the snapshot of the
            // parent's pixels is taken again at the next paint.
            resetColours(Redraw::No);
            m_backgroundSnapshot = QPixmap();
            update();
            break;
        default:
            break;
    }
}

void ImageButton::updateHoverFromPointer(bool pointerInside) {
    const bool leftButtonHeld = QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
    if ((leftButtonHeld && !m_hovered) || !m_flat) {
        return;
    }
    if (pointerInside && (m_alwaysTrack || QApplication::activeWindow() != nullptr)) {
        if (!m_hovered) {
            m_hovered = true;
            update();
        }
    } else {
        clearHover();
    }
}

void ImageButton::clearHover() {
    if (m_flat && m_hovered) {
        m_hovered = false;
        update();
    }
}

void ImageButton::takeBackgroundSnapshot() {
    const qreal ratio = devicePixelRatioF();
    QPixmap snapshot(size() * ratio);
    snapshot.setDevicePixelRatio(ratio);
    snapshot.fill(palette().color(QPalette::Window));
    if (QWidget* parent = parentWidget()) {
        // The parent alone, without its children: the pixels it paints under the button.
        parent->render(&snapshot, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    }
    m_backgroundSnapshot = snapshot;
}

ButtonColourState ImageButton::colourState(const PaintState& state) const {
    if (m_hovered || state.pressed) {
        return ButtonColourState::HoveredOrPressed;
    }
    return state.focused ? ButtonColourState::Focused : ButtonColourState::Normal;
}

void ImageButton::paintBackground(QPainter& painter, QRect& itemRect, const PaintState& state) {
    if (m_transparent) {
        if (m_backgroundSnapshot.isNull()) {
            takeBackgroundSnapshot();
        }
        painter.drawPixmap(QPoint(0, 0), m_backgroundSnapshot);
        return;
    }
    if (!m_flat && (state.focused || isDefault())) {
        painter.fillRect(itemRect, Qt::black);
        itemRect.adjust(1, 1, -1, -1);
    }
    painter.fillRect(itemRect, backgroundColour(colourState(state)));
}

void ImageButton::paintBorder(QPainter& painter, const QRect& itemRect, const PaintState& state) {
    const QPalette& colours = palette();
    if (state.pressed) {
        if (m_flat) {
            if (m_drawBorder) {
                draw3dRect(painter, itemRect, colours.color(QPalette::Dark),
                           colours.color(QPalette::Light));
            }
        } else {
            draw3dRect(painter, itemRect, colours.color(QPalette::Dark),
                       colours.color(QPalette::Dark));
        }
        return;
    }
    if (!m_flat) {
        draw3dRect(painter, itemRect, colours.color(QPalette::Light),
                   colours.color(QPalette::Shadow));
        draw3dRect(painter, itemRect.adjusted(1, 1, -1, -1), colours.color(QPalette::Midlight),
                   colours.color(QPalette::Dark));
        return;
    }
    if (m_hovered && m_drawBorder) {
        draw3dRect(painter, itemRect, colours.color(QPalette::Light),
                   colours.color(QPalette::Dark));
    }
}

QRect ImageButton::placeIcon(const QRect& itemRect, QRect& captionRect,
                             const PaintState& state) const {
    const bool hasCaption = !text().isEmpty();
    const int iconWidth = m_iconSize.width();
    const int iconHeight = m_iconSize.height();
    const int centredX = itemRect.left() + (itemRect.width() - iconWidth) / 2;
    const int centredY = itemRect.top() + (itemRect.height() - iconHeight) / 2;
    QPoint topLeft = itemRect.topLeft();
    switch (m_alignment) {
        case IconLeftOfCaption:
            if (hasCaption) {
                topLeft.setX(itemRect.left() + m_margins.x());
                captionRect.setLeft(captionRect.left() + iconWidth + m_margins.x());
            } else {
                topLeft.setX(centredX);
            }
            topLeft.setY(centredY);
            break;
        case IconAboveCaption:
            topLeft.setX(centredX);
            if (hasCaption) {
                topLeft.setY(m_margins.y());
                captionRect.setTop(m_margins.y() + iconHeight);
            } else {
                topLeft.setY(centredY);
            }
            break;
        case IconRightOfCaption:
            if (hasCaption) {
                topLeft.setX(width() - iconWidth - m_margins.x());
                captionRect.setRight(topLeft.x() - 1);
            } else {
                topLeft.setX(centredX);
            }
            // Centred vertically with or without a caption: an icon alone is centred both
            // ways, as with the other alignments.
            topLeft.setY(centredY);
            break;
        case IconOverCaption:
        default:
            break;
    }
    if (state.pressed) {
        topLeft += m_pressedOffset;
    }
    return QRect(topLeft, m_iconSize);
}

void ImageButton::paintIcon(QPainter& painter, const QRect& iconRect,
                            const PaintState& state) const {
    const bool showSecond = !m_secondIcon.isNull() && !m_hovered && !state.pressed;
    const QIcon& icon = showSecond ? m_secondIcon : m_icon;
    const QPixmap pixmap = icon.pixmap(m_iconSize, devicePixelRatioF(),
                                       state.disabled ? QIcon::Disabled : QIcon::Normal);
    painter.drawPixmap(iconRect.topLeft(), pixmap);
}

void ImageButton::paintCaption(QPainter& painter, QRect captionRect,
                               const PaintState& state) const {
    if (state.pressed) {
        captionRect.translate(m_pressedOffset);
    }
    constexpr int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(font());
    if (state.disabled) {
        // Engraved: a highlight copy one pixel right and down, the shadow copy in place.
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(captionRect.translated(1, 1), flags, text());
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawText(captionRect, flags, text());
        return;
    }
    painter.setPen(textColour(colourState(state)));
    painter.drawText(captionRect, flags, text());
}

void ImageButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const PaintState state{isDown(), hasFocus(), !isEnabled()};

    QRect itemRect = rect();
    paintBackground(painter, itemRect, state);
    paintBorder(painter, itemRect, state);

    QRect captionRect = itemRect;
    if (!m_icon.isNull()) {
        const QRect iconRect = placeIcon(itemRect, captionRect, state);
        paintIcon(painter, iconRect, state);
    }
    if (!text().isEmpty()) {
        paintCaption(painter, captionRect, state);
    }
    if (state.focused && (!m_flat || m_drawFlatFocus)) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = itemRect.adjusted(3, 3, -3, -3);
        option.backgroundColor = backgroundColour(ButtonColourState::Focused);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void ImageButton::redrawIf(Redraw redraw) {
    if (redraw == Redraw::Yes) {
        update();
    }
}

}  // namespace widgets
