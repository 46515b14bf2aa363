#pragma once

#include "engine/Settings.hpp"

#include <QComboBox>

namespace brindleaf {

// What the numbering follows: the names, the modified times or the dates taken.
class OrderChoice : public QComboBox {
    Q_OBJECT

public:
    explicit OrderChoice(QWidget* parent = nullptr);

    // Shows `order` without telling it as a choice.
    void showOrder(Order order);

signals:
    void orderChosen(Order order);
};

} // namespace brindleaf
