#include "widgets/multi_line_label.h"

#include "widgets/label_accessibility.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace widgets {

MultiLineLabel::MultiLineLabel(const QString& templateText, LineAlignment alignment,
                               QWidget* parent)
    : QWidget(parent),
      m_windowText(templateText.left(kMaximumTemplateTextLength)),
      m_text(m_windowText),
      m_alignment(alignment) {
    // Nothing of the label's own background is ever painted: the parent shows through.
    setAutoFillBackground(false);
    installLabelAccessibility();
    setAccessibleName(m_text.section(QLatin1Char('\n'), 0, 0));
}

void MultiLineLabel::setText(const QString& text) {
    m_text = text.left(kMaximumTextLength);
    m_lineCount = 1 + static_cast<int>(m_text.count(QLatin1Char('\n')));
    // Assistive technology reads what is shown.
    setAccessibleName(QString(m_text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    // The label paints no background, so the parent repaints what lies under the old text.
    if (QWidget* parent = parentWidget()) {
        parent->update(geometry().adjusted(-3, -3, 3, 3));
    }
    update();
}

void MultiLineLabel::setLineAlignment(LineAlignment alignment) {
    m_alignment = alignment;
    update();
}

void MultiLineLabel::setTextColour(const QColor& colour) {
    m_textColour = colour;
    update();
}

void MultiLineLabel::setDisabledColour(const QColor& colour) {
    m_disabledColour = colour;
    update();
}

QSize MultiLineLabel::sizeHint() const {
    const QFontMetrics metrics(font());
    const QStringList lines = m_text.split(QLatin1Char('\n')).mid(0, m_lineCount);
    int width = 0;
    for (const QString& line : lines) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    return QSize(width + 4, static_cast<int>(lines.size()) * (metrics.height() + 1));
}

void MultiLineLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // The left column and top row stay unpainted.
    painter.setClipRect(QRect(1, 1, width() - 1, height() - 1));
    painter.setFont(font());
    painter.setBackgroundMode(Qt::TransparentMode);
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    const bool disabled = !isEnabled();

    const QStringList lines = m_text.split(QLatin1Char('\n'));
    int y = 0;
    for (int index = 0; index < m_lineCount && index < lines.size(); ++index) {
        const QString& line = lines[index];
        const int textWidth = metrics.horizontalAdvance(line);
        int x = 2;
        if (m_alignment == LineAlignment::Centre) {
            x = (width() - textWidth) / 2;
        } else if (m_alignment == LineAlignment::Right) {
            x = width() - textWidth - 2;
        }
        const int baseline = y + metrics.ascent();
        if (disabled) {
            painter.setPen(m_disabledColour);
            painter.drawText(QPoint(x + 1, baseline + 1), line);
        }
        painter.setPen(m_textColour);
        painter.drawText(QPoint(x, baseline), line);
        y += lineHeight + 1;
    }
}

}  // namespace widgets
