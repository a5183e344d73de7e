#include "idlewarmup.h"

#include "afterfirstpaint.h"
#include "captions.h"
#include "gridheader.h"
#include "modelinfo.h"
#include "picklists.h"
#include "windowlayout.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace zw
{

IdleWarmUp::IdleWarmUp(QWidget *window) : QObject(window)
{
    setObjectName(QStringLiteral("idleWarmUp"));
    runAfterFirstPaint(window, this, [this] { warmUp(); });
}

void IdleWarmUp::warmUp()
{
    const ModelWindowLayout &info = modelWindowLayout(Model::V);
    QFont font(QStringLiteral("SimSun"), 9);
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});

    // The SQLite driver is a plugin, loaded when the first database is opened.
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("idleWarmUp"));
        db.setDatabaseName(QStringLiteral(":memory:"));
        if (db.open())
            QSqlQuery(db).exec(QStringLiteral("SELECT 1"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("idleWarmUp"));

    // A model window is a sub-window of an MDI area: the frame's title bar is drawn too.
    QMdiArea area;
    area.setAttribute(Qt::WA_DontShowOnScreen);
    auto *widget = new QWidget;
    QWidget &sample = *widget;
    area.addSubWindow(widget)->setWindowTitle(info.caption);
    auto *layout = new QVBoxLayout(&sample);
    auto *menus = new QMenuBar(&sample);
    menus->setNativeMenuBar(false);
    for (Caption caption : {Caption::ModelMenu, Caption::FileMenu, Caption::EditMenu,
                            Caption::ReadItem, Caption::WriteItem, Caption::ExitItem})
        menus->addAction(captionText(caption, CaptionSet::Design, &info));
    layout->setMenuBar(menus);

    QStringList chinese = gridCaptions(info, false);
    const QStringList english = gridCaptions(info, true);
    QStandardItemModel model(2, int(chinese.size()));
    model.setHorizontalHeaderLabels(chinese);
    for (int column = 0; column < english.size(); ++column) {
        model.setItem(0, column, new QStandardItem(english.at(column)));
        model.setItem(1, column, new QStandardItem(QStringLiteral("145.01250 D754N 250.3")));
    }
    auto *grid = new QTableView(&sample);
    grid->setHorizontalHeader(new GridHeader(Qt::Horizontal, grid));
    grid->setVerticalHeader(new GridHeader(Qt::Vertical, grid));
    grid->setFont(font);
    grid->horizontalHeader()->setFont(font);
    grid->verticalHeader()->setFont(font);
    grid->setModel(&model);
    layout->addWidget(grid);

    auto *label = new QLabel(captionText(Caption::SquelchLabel, CaptionSet::Design) +
                                 captionText(Caption::ChannelToneLabel, CaptionSet::Design),
                             &sample);
    label->setFont(font);
    layout->addWidget(label);
    for (bool styled : {false, true}) {
        auto *combo = new QComboBox(&sample);
        combo->setFont(font);
        combo->addItems(pickListEntries(PickList::ToneBoth, Model::V).mid(0, 3));
        combo->addItems({QStringLiteral("中文"), QStringLiteral("英文"), QStringLiteral("键音")});
        QPalette palette = combo->palette();
        palette.setColor(QPalette::ButtonText, Qt::red);
        palette.setColor(QPalette::Text, Qt::red);
        combo->setPalette(palette);
        if (styled)
            combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        combo->view()->setPalette(palette); // the list's own window, made on first use
        layout->addWidget(combo);
    }
    area.resize(640, 360);
    widget->parentWidget()->resize(620, 340);
    area.grab(); // polishes, lays out and draws everything once
    m_done = true;
    emit done();
}

} // namespace zw
