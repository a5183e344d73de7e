#include "portdialog.h"

#include "captions.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"
#include "porthints.h"
#include "serialconnection.h"
#include "twips.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace zw
{

PortDialog::PortDialog(SerialConnection *serial, QWidget *parent)
    : QDialog(parent), m_serial(serial)
{
    setObjectName(QStringLiteral("Dialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);
    const CaptionSet set = isEnglish() ? CaptionSet::English : CaptionSet::Design;
    setWindowTitle(captionText(Caption::DialogCaption, set));
    setFixedSize(twips(3000), twips(2790));
    move(twips(2760), twips(3750));

    auto *label = new QLabel(captionText(Caption::DialogLabel, set), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(twips(240), twips(240), twips(2520), twips(300));
    m_com1 = new QRadioButton(QStringLiteral(" COM1"), this);
    m_com1->setObjectName(QStringLiteral("Option1"));
    m_com1->setGeometry(twips(600), twips(780), twips(1800), twips(330));
    m_com2 = new QRadioButton(QStringLiteral(" COM2"), this);
    m_com2->setObjectName(QStringLiteral("Option2"));
    m_com2->setGeometry(twips(600), twips(1260), twips(1800), twips(330));
    if (m_serial && m_serial->portNumber() == 1)
        m_com1->setChecked(true);
    else if (m_serial && m_serial->portNumber() == 2)
        m_com2->setChecked(true);

    auto *okButton = new QPushButton(captionText(Caption::DialogOk, set), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setGeometry(twips(240), twips(2160), twips(1200), twips(375));
    okButton->setDefault(true);
    auto *cancelButton = new QPushButton(captionText(Caption::DialogCancel, set), this);
    cancelButton->setObjectName(QStringLiteral("CancelButton"));
    cancelButton->setGeometry(twips(1560), twips(2160), twips(1200), twips(375));
    connect(okButton, &QPushButton::clicked, this, &PortDialog::ok);
    connect(cancelButton, &QPushButton::clicked, this, &PortDialog::close);
}

QRadioButton *PortDialog::option(int port) const
{
    return port == 1 ? m_com1 : port == 2 ? m_com2 : nullptr;
}

void PortDialog::ok()
{
    if (!m_serial)
        return;
    // A read or a write in progress would lose its line; the port stays as it is.
    if (m_serial->isTransferring()) {
        showMessage(this, MessageIcon::Exclamation, systemInfoTitle,
                    portChangeDuringTransferMessage);
        return;
    }
    const int port = m_com1->isChecked() ? 1 : m_com2->isChecked() ? 2 : 0;
    if (port == 0)
        return;
    if (!usePort(port)) {
        showMessage(this, MessageIcon::Exclamation, systemInfoTitle,
                    withPortAccessHint(port == 1 ? port1TakenMessage : port2TakenMessage,
                                       m_serial->device(port)));
        // Offer the other port: OK on it then opens it.
        m_serial->setPortNumber(port == 1 ? 2 : 1);
        return;
    }
    close();
}

bool PortDialog::usePort(int port)
{
    if (m_serial->portNumber() == port) {
        if (m_serial->isOpen())
            return true;
    } else {
        m_serial->close();
        m_serial->setPortNumber(port);
    }
    if (!m_serial->open())
        return false;
    m_serial->setTextMode();
    return true;
}

} // namespace zw
