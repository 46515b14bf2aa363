#include "window/Alerts.hpp"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace brindleaf {

bool Alerts::ask(const Asked& question) const {
    return answerer_ ? answerer_(question) : askToProceed(parent_, question);
}

void Alerts::showFailure(const QString& description) const {
    if (failureTaker_) {
        failureTaker_(description);
    } else {
        showFailureAlert(parent_, description);
    }
}

void showFailureAlert(QWidget* parent, const QString& description) {
    QMessageBox alert(QMessageBox::Warning, QCoreApplication::applicationName(), description,
                      QMessageBox::Ok, parent);
    alert.setObjectName(QStringLiteral("failureAlert"));
    alert.setTextFormat(Qt::PlainText);
    alert.exec();
}

bool askToProceed(QWidget* parent, const Asked& asked) {
    QMessageBox question(QMessageBox::Question, asked.title, QString(), QMessageBox::NoButton,
                         parent);
    question.setObjectName(QStringLiteral("confirmationDialog"));
    question.setTextFormat(Qt::RichText);
    question.setText(QStringLiteral("<b>%1</b>").arg(asked.message.toHtmlEscaped()));
    if (!asked.details.isEmpty()) {
        question.setInformativeText(QStringLiteral("<p>%1</p>").arg(asked.details.toHtmlEscaped()));
    }
    QPushButton* accept = question.addButton(asked.acceptText, QMessageBox::AcceptRole);
    accept->setObjectName(QStringLiteral("proceedButton"));
    if (asked.declineText.isEmpty()) {
        question.addButton(QMessageBox::Cancel);
    } else {
        question.addButton(asked.declineText, QMessageBox::RejectRole);
    }
    question.setDefaultButton(accept);
    question.exec();
    return question.clickedButton() == accept;
}

} // namespace brindleaf
