#pragma once

// For Qt tests: which texts of a window its controls cut off at the current scale (run the
// test under QT_SCALE_FACTOR to check other scales). Looks at one-line labels, check boxes,
// the items of drop-down lists (in the closed box) and list headers.

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTextDocument>

#include <algorithm>

namespace test_support {

// The widest line of `text` as drawn (a single '&' marks a mnemonic and takes no room).
inline int drawnWidth(const QFontMetrics& metrics, QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

// One line per cut text: what it is, the text, how wide it is drawn and the room it has.
inline QStringList cutTexts(const QWidget& root) {
    QStringList cuts;
    const auto report = [&](const char* kind, const QString& text, int needed, int room) {
        if (needed > room) {
            cuts.append(QStringLiteral("%1 \"%2\": %3 px in %4 px")
                            .arg(QLatin1String(kind), text)
                            .arg(needed)
                            .arg(room));
        }
    };
    for (const QLabel* label : root.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || Qt::mightBeRichText(label->text()) ||
            !label->isVisibleTo(&root)) {
            continue;
        }
        const QRect room =
            label->contentsRect().adjusted(label->margin() + std::max(0, label->indent()),
                                           label->margin(), -label->margin(), -label->margin());
        if (label->wordWrap()) {
            // A wrapping label cuts the lines that do not fit its height.
            const QRect wrapped = label->fontMetrics().boundingRect(
                QRect(0, 0, room.width(), 100'000), Qt::TextWordWrap | Qt::TextShowMnemonic,
                label->text());
            report("label (height)", label->text(), wrapped.height(), room.height());
            report("label", label->text(), wrapped.width(), room.width());
        } else {
            report("label", label->text(), drawnWidth(label->fontMetrics(), label->text()),
                   room.width());
        }
    }
    for (const QCheckBox* box : root.findChildren<QCheckBox*>()) {
        if (!box->isVisibleTo(&root)) {
            continue;
        }
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        const QRect contents =
            box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        report("check box", box->text(), drawnWidth(box->fontMetrics(), box->text()),
               contents.width());
    }
    for (const QComboBox* list : root.findChildren<QComboBox*>()) {
        if (!list->isVisibleTo(&root)) {
            continue;
        }
        QStyleOptionComboBox option;
        option.initFrom(list);
        option.editable = list->isEditable();
        option.frame = list->hasFrame();
        const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                          QStyle::SC_ComboBoxEditField, list);
        for (int item = 0; item < list->count(); ++item) {
            report("list item", list->itemText(item),
                   drawnWidth(list->fontMetrics(), list->itemText(item)), field.width());
        }
    }
    for (const QHeaderView* header : root.findChildren<QHeaderView*>()) {
        if (!header->isVisibleTo(&root) || header->model() == nullptr) {
            continue;
        }
        for (int section = 0; section < header->count(); ++section) {
            report("heading",
                   header->model()->headerData(section, header->orientation()).toString(),
                   header->sectionSizeHint(section), header->sectionSize(section));
        }
    }
    return cuts;
}

}  // namespace test_support
