#include "window/OrderChoice.hpp"

#include <QSignalBlocker>

namespace brindleaf {

OrderChoice::OrderChoice(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("orderChoice"));
    addItem(tr("Name"), QVariant::fromValue(static_cast<int>(Order::Name)));
    addItem(tr("Date modified"), QVariant::fromValue(static_cast<int>(Order::Modified)));
    addItem(tr("Date taken"), QVariant::fromValue(static_cast<int>(Order::Taken)));
    connect(this, &QComboBox::activated, this,
            [this](int index) { emit orderChosen(static_cast<Order>(itemData(index).toInt())); });
}

void OrderChoice::showOrder(Order order) {
    const QSignalBlocker blocker(this);
    setCurrentIndex(findData(static_cast<int>(order)));
}

} // namespace brindleaf
