#pragma once

#include <QObject>

namespace zw
{

class ModelWindow;

// Keeps a model window's squelch level (Combo8) and channel tone (Combo11) in its model
// database, so that they are what the window showed when it is opened again, also after the
// program was restarted. Every change of either list is stored at once, whatever made it (the
// user, a read from the radio, a channel file).
class SettingsKeeper final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsKeeper)

public:
    explicit SettingsKeeper(ModelWindow *window);

    // Part of the window's load, once its database is open: shows the stored settings, or "3"
    // and "中文" when none are stored, and from then on stores every change.
    void restore();

private:
    void store();

    ModelWindow *m_window;
    bool m_restored = false;
    bool m_failureShown = false;
};

} // namespace zw
