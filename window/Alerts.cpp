#include "window/Alerts.hpp"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace brindleaf {

void showFailureAlert(QWidget* parent, const QString& description) {
    QMessageBox alert(QMessageBox::Warning, QCoreApplication::applicationName(), description,
                      QMessageBox::Ok, parent);
    alert.setObjectName(QStringLiteral("failureAlert"));
    alert.setTextFormat(Qt::PlainText);
    alert.exec();
}

bool askToProceed(QWidget* parent, const QString& title, const QString& message,
                  const QString& acceptText, const QString& declineText, const QString& details) {
    QMessageBox question(QMessageBox::Question, title, QString(), QMessageBox::NoButton, parent);
    question.setObjectName(QStringLiteral("confirmationDialog"));
    question.setTextFormat(Qt::RichText);
    question.setText(QStringLiteral("<b>%1</b>").arg(message.toHtmlEscaped()));
    if (!details.isEmpty()) {
        question.setInformativeText(QStringLiteral("<p>%1</p>").arg(details.toHtmlEscaped()));
    }
    QPushButton* accept = question.addButton(acceptText, QMessageBox::AcceptRole);
    accept->setObjectName(QStringLiteral("proceedButton"));
    if (declineText.isEmpty()) {
        question.addButton(QMessageBox::Cancel);
    } else {
        question.addButton(declineText, QMessageBox::RejectRole);
    }
    question.setDefaultButton(accept);
    question.exec();
    return question.clickedButton() == accept;
}

} // namespace brindleaf
