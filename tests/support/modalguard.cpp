#include "modalguard.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QList>
#include <QMessageBox>
#include <QtTest>

namespace zw::test
{

namespace
{

QList<const QMetaObject *> &expectedKinds()
{
    static QList<const QMetaObject *> kinds;
    return kinds;
}

QString textOf(const QDialog *dialog)
{
    if (const auto *box = qobject_cast<const QMessageBox *>(dialog))
        return box->text();
    QStringList texts;
    const auto labels = dialog->findChildren<QLabel *>();
    for (const QLabel *label : labels)
        if (!label->text().isEmpty())
            texts << label->text();
    return texts.join(QStringLiteral(" | "));
}

// Watches every widget being shown: the Show event of a modal dialog comes before the dialog's
// own event loop runs, so the rejection queued here ends that loop.
class ModalGuard final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show || !watched->isWidgetType())
            return false;
        auto *dialog = qobject_cast<QDialog *>(watched);
        if (!dialog || !(dialog->isModal() || dialog->testAttribute(Qt::WA_ShowModal)))
            return false;
        const auto &kinds = expectedKinds();
        for (const QMetaObject *kind : kinds)
            if (dialog->metaObject()->inherits(kind))
                return false;
        const QString message =
            QStringLiteral("a modal %1 that the test does not answer: title \"%2\", text \"%3\"")
                .arg(QLatin1String(dialog->metaObject()->className()), dialog->windowTitle(),
                     textOf(dialog));
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
        QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        return false;
    }
};

void installModalGuard()
{
    QCoreApplication::instance()->installEventFilter(new ModalGuard(QCoreApplication::instance()));
}

// Runs as the test program's application object is made, before any test.
Q_COREAPP_STARTUP_FUNCTION(installModalGuard)

} // namespace

ExpectedDialog::ExpectedDialog(const QMetaObject &kind) : m_kind(&kind)
{
    expectedKinds().append(m_kind);
}

ExpectedDialog::~ExpectedDialog()
{
    expectedKinds().removeOne(m_kind);
}

} // namespace zw::test
