#include "widgets/hyperlink_label.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "base/ports/launcher_port.h"
#include "base/ports/prompt_port.h"
#include "widgets/hyperlink_failure_text.h"
#include "widgets/label_accessibility.h"

namespace widgets {

HyperlinkLabel::HyperlinkLabel(const QString& text, base::LauncherPort& launcher,
                               base::PromptPort& prompt, QWidget* parent)
    : QLabel(text, parent), m_launcher(launcher), m_prompt(prompt) {
    installLabelAccessibility();
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setToolTip(address());
    applyLook();
}

HyperlinkLabel::~HyperlinkLabel() = default;

void HyperlinkLabel::setAddress(const QString& address) {
    m_address = address;
    if (QLabel::text().isEmpty() && !m_address.isEmpty()) {
        QLabel::setText(m_address);
    }
    refitToText();
    setToolTip(this->address());
}

QString HyperlinkLabel::address() const {
    return m_address.isEmpty() ? QLabel::text() : m_address;
}

void HyperlinkLabel::setText(const QString& text) {
    QLabel::setText(text.isEmpty() ? m_address : text);
    refitToText();
    setToolTip(address());
}

void HyperlinkLabel::setUnderlineMode(UnderlineMode mode) {
    if (mode == m_underlineMode) {
        return;
    }
    m_underlineMode = mode;
    applyLook();
}

void HyperlinkLabel::setAdjustToFit(bool adjustToFit) {
    m_adjustToFit = adjustToFit;
    refitToText();
}

void HyperlinkLabel::refitToText() {
    if (!m_adjustToFit) {
        return;
    }
    QFont underlined = font();
    underlined.setUnderline(true);
    const QSize textSize = QFontMetrics(underlined).size(0, QLabel::text());
    // Whatever the label draws around its text (frame, margin) stays as it was.
    const QSize around = size() - contentsRect().size() + QSize(2 * margin(), 2 * margin());
    const QSize newSize = textSize + around;
    const QRect old = geometry();
    const Qt::Alignment alignment = this->alignment();

    int left = old.left();
    if (alignment.testFlag(Qt::AlignHCenter)) {
        left = old.left() + (old.width() - newSize.width()) / 2;
    } else if (alignment.testFlag(Qt::AlignRight)) {
        left = old.left() + old.width() - newSize.width();
    }
    int top = old.top();
    if (alignment.testFlag(Qt::AlignVCenter)) {
        top = old.top() + (old.height() - newSize.height()) / 2;
    }
    setGeometry(QRect(QPoint(left, top), newSize));
}

void HyperlinkLabel::setLinkColours(const QColor& link, const QColor& visited,
                                    const QColor& hover) {
    m_linkColour = link;
    m_visitedColour = visited;
    m_hoverColour = hover;
    applyLook();
}

QColor HyperlinkLabel::currentTextColour() const {
    if (m_over) {
        return m_hoverColour;
    }
    return m_visited ? m_visitedColour : m_linkColour;
}

void HyperlinkLabel::setVisited(bool visited) {
    m_visited = visited;
    applyLook();
}

bool HyperlinkLabel::openAddress() {
    m_over = false;
    applyLook();
    const QString target = address();
    const QUrl url = QUrl::fromUserInput(target, QString(), QUrl::AssumeLocalFile);
    const bool opened = !target.isEmpty() && url.isValid() && m_launcher.openWithDesktop(url);
    if (opened) {
        m_visited = true;
        applyLook();
    } else {
        showFailure(resultCodeForFailedOpen(url));
    }
    emit linkActivated(opened);
    return opened;
}

void HyperlinkLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    if (!m_over) {
        m_over = true;
        applyLook();
    }
}

void HyperlinkLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    if (m_over) {
        m_over = false;
        applyLook();
    }
}

void HyperlinkLabel::mouseMoveEvent(QMouseEvent* event) {
    QLabel::mouseMoveEvent(event);
    // After a click the pointer is still over the label: the next movement lights it again.
    if (!m_over && rect().contains(event->position().toPoint())) {
        m_over = true;
        applyLook();
    }
}

void HyperlinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        openAddress();
    }
}

void HyperlinkLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
                openAddress();
                return;
            }
            break;
        default:
            break;
    }
    QLabel::keyPressEvent(event);
}

void HyperlinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        QStyleOptionFocusRect focusFrame;
        focusFrame.initFrom(this);
        focusFrame.backgroundColor = palette().color(QPalette::Window);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focusFrame, &painter, this);
    }
}

void HyperlinkLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange && !m_applyingLook) {
        refitToText();
    }
}

void HyperlinkLabel::showEvent(QShowEvent* event) {
    QLabel::showEvent(event);
    if (!m_fittedAtFirstShow) {
        m_fittedAtFirstShow = true;
        refitToText();
    }
}

void HyperlinkLabel::applyLook() {
    m_applyingLook = true;
    QFont look = font();
    look.setUnderline(m_underlineMode == UnderlineMode::Always ||
                      (m_underlineMode == UnderlineMode::WhileHovered && m_over));
    setFont(look);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, currentTextColour());
    setPalette(colours);
    m_applyingLook = false;
    update();
}

void HyperlinkLabel::showFailure(int resultCode) {
    QApplication::beep();
    m_prompt.tell(hyperlinkFailureMessage(resultCode), QString(), base::PromptIcon::Warning,
                  window());
}

}  // namespace widgets
