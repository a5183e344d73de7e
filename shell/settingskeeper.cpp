#include "settingskeeper.h"

#include "channelstore.h"
#include "messagebox.h"
#include "messages.h"
#include "modelwindow.h"
#include "settingstable.h"

#include <QComboBox>
#include <QDir>

namespace zw
{

SettingsKeeper::SettingsKeeper(ModelWindow *window) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("settingsKeeper"));
}

void SettingsKeeper::restore()
{
    const ChannelStore *store = m_window->store();
    const RadioSettings settings = store->isOpen()
                                       ? readRadioSettings(store->path()).value_or(RadioSettings{})
                                       : RadioSettings{};
    m_window->squelchList()->setCurrentText(settings.squelchLevel);
    m_window->channelToneList()->setCurrentText(settings.channelTone);
    if (m_restored)
        return;
    m_restored = true;
    connect(m_window->squelchList(), &QComboBox::currentTextChanged, this, &SettingsKeeper::store);
    connect(m_window->channelToneList(), &QComboBox::currentTextChanged, this,
            &SettingsKeeper::store);
}

void SettingsKeeper::store()
{
    const ChannelStore *store = m_window->store();
    // A read-only or unusable database was reported when the window opened.
    if (!store->isOpen() || store->isReadOnly())
        return;
    RadioSettings settings;
    settings.squelchLevel = m_window->squelchList()->currentText();
    settings.channelTone = m_window->channelToneList()->currentText();
    QString error;
    if (writeRadioSettings(store->path(), settings, &error) || m_failureShown)
        return;
    m_failureShown = true; // once per window: the lists stay usable
    showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                settingsNotStoredMessage.arg(QDir::toNativeSeparators(store->path()), error));
}

} // namespace zw
