#pragma once

#include <QHash>
#include <QPixmap>
#include <QProgressBar>
#include <QStaticText>
#include <QStyle>

class QStyleOptionProgressBar;

namespace zw
{

// The model window's transfer bar: the blocks a transfer has done, as a bar with their count on
// it ("7/18"). A read brings some thirty counts a second. QProgressBar would draw each one at
// once, through the style, and lay its text out twice per drawing. This bar draws a new count
// with the next paint: the style's empty bar and its full bar, each drawn once for the bar's
// size, the full one up to the share done, and the count from characters laid out once.
class TransferProgressBar final : public QProgressBar
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TransferProgressBar)

public:
    explicit TransferProgressBar(QWidget *parent = nullptr);
    ~TransferProgressBar() override;

    // `done` of `total` blocks, drawn with the next paint.
    void showCount(int done, int total);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    const QStaticText &laidOut(QChar character);
    // The style's drawing of the bar at `progress`, without its text.
    QPixmap drawnBar(const QStyleOptionProgressBar &option, int progress) const;

    QHash<char16_t, QStaticText> m_characters;
    // The empty and the full bar as the style draws them, for this state and size.
    QPixmap m_emptyBar;
    QPixmap m_fullBar;
    QStyle::State m_barsState;
    QSize m_barsSize;
};

} // namespace zw
