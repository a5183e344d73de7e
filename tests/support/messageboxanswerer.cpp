#include "messageboxanswerer.h"

#include <QAbstractButton>
#include <QApplication>

namespace zw::test
{

MessageBoxAnswerer::MessageBoxAnswerer()
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::poll);
    m_timer.start();
}

MessageBoxAnswerer::~MessageBoxAnswerer() = default;

void MessageBoxAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box) {
        const auto boxes = QApplication::topLevelWidgets();
        for (QWidget *w : boxes) {
            if (auto *b = qobject_cast<QMessageBox *>(w); b && b->isVisible()) {
                box = b;
                break;
            }
        }
    }
    if (!box || box->property("zwAnswered").toBool())
        return;
    box->setProperty("zwAnswered", true);
    Seen seen{box->icon(),
              box->windowTitle(),
              box->text(),
              {},
              box->parentWidget() && box->parentWidget()->isVisible()};
    QAbstractButton *choice = nullptr;
    const auto buttons = box->buttons();
    for (QAbstractButton *button : buttons) {
        seen.buttons << button->text();
        if (!choice || (!m_answer.isEmpty() && button->text() == m_answer))
            choice = button;
    }
    m_seen.append(seen);
    if (m_look)
        m_look();
    if (choice)
        QTimer::singleShot(0, choice, [choice] { choice->click(); });
}

} // namespace zw::test
