#include "window/WidgetHelpers.hpp"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVariant>

namespace brindleaf {

void showText(QLineEdit* field, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (field->text() != value) {
        field->setText(value);
    }
}

void showToggle(QCheckBox* toggle, bool on) {
    const QSignalBlocker blocker(toggle);
    toggle->setChecked(on);
}

QString withoutMnemonic(const QString& text) {
    static const QRegularExpression mnemonic(QStringLiteral("\\(&[^&]\\)|&(?=[^&])"));
    return QString(text).remove(mnemonic);
}

void showState(QWidget* widget, const char* state, bool on, const QString& styleWhenOn) {
    if (widget->property(state).toBool() == on) {
        return;
    }
    widget->setProperty(state, on);
    widget->setStyleSheet(on ? styleWhenOn : QString());
}

QLabel* plainLabel(QWidget* parent, const char* objectName) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QWidget* labelledPair(QWidget* parent, const QString& label, QWidget* field) {
    // A label and its field wrap as one.
    auto* pair = new QWidget(parent);
    auto* layout = new QHBoxLayout(pair);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* buddy = new QLabel(label, pair);
    buddy->setBuddy(field);
    field->setParent(pair);
    layout->addWidget(buddy);
    layout->addWidget(field);
    return pair;
}

int widthShowing(const QLineEdit* field, const QString& text) {
    // QLineEdit keeps a margin of its own on either side of its text, and a pixel for the
    // cursor.
    constexpr int ownMargin = 2;
    constexpr int cursor = 1;
    const QMargins textMargins = field->textMargins();
    const QMargins contents = field->contentsMargins();
    const QFontMetrics metrics = field->fontMetrics();
    const int width = metrics.horizontalAdvance(text) + 2 * ownMargin + cursor +
                      textMargins.left() + textMargins.right() + contents.left() + contents.right();
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    return field->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, metrics.height()), field)
        .width();
}

void fadeDisabledPlaceholders(QWidget* window) {
    QPalette palette = window->palette();
    QColor faint = palette.color(QPalette::Disabled, QPalette::Text);
    faint.setAlpha(faint.alpha() / 2);
    palette.setColor(QPalette::Disabled, QPalette::PlaceholderText, faint);
    window->setPalette(palette);
}

QHBoxLayout* centredRow() {
    auto* row = new QHBoxLayout;
    row->addStretch();
    return row;
}

} // namespace brindleaf
