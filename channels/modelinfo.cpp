#include "modelinfo.h"

namespace zw
{

namespace
{

QString readMessage(const char *model, int blanks, bool bang = true)
{
    return QStringLiteral("本机是") + QLatin1String(model) + QLatin1Char(',') +
           QString(blanks, u' ') + QStringLiteral("需要转换窗口,重读数据") +
           (bang ? QStringLiteral("！") : QString());
}

const std::array<ModelInfo, 4> &table()
{
    static const std::array<ModelInfo, 4> models{{
        {Model::V,
         QStringLiteral("ZW4630V"),
         QStringLiteral("ZW4630V  (136MHz-174MHz)"),
         QStringLiteral("4"),
         {130, 136, 174, 180},
         -21.4,
         QStringLiteral("zw4630.mdb"),
         100,
         {510, 630, 9330, 6420},
         {480, 600, 8295, 4815},
         {345, 1275, 1140, 1260, 1140, 675, 630, 705, 660},
         11,
         4,
         {2520, 4920, 6000, 6600, 7320, 8040, 5040, 7320},
         4,
         false,
         {QString(), readMessage("ZW4630UH", 2), readMessage("ZW4630UM", 2),
          readMessage("ZW4630UL", 1), QString()},
         5.0,
         1.0},
        {Model::UH,
         QStringLiteral("ZW4630UH"),
         QStringLiteral("ZW4630UH (430MHz-470MHz)"),
         QStringLiteral("1"),
         {400, 430, 470, 500},
         45.05,
         QStringLiteral("zw7150H.mdb"),
         200,
         {210, 165, 9525, 8520},
         {600, 840, 8295, 4815},
         {345, 1155, 915, 1230, 960, 870, 795, 810, 780},
         6,
         4,
         {2400, 4560, 5520, 6480, 7320, 8040, 5640, 7680},
         4,
         true,
         {QString(), QString(), readMessage("ZW4630UM", 1), readMessage("ZW4630UL", 1),
          readMessage("ZW4630V", 1)},
         4.0,
         1.0},
        {Model::UM,
         QStringLiteral("ZW4630UM"),
         QStringLiteral("ZW4630UM  (400MHz-430MHz)"),
         QStringLiteral("2"),
         {380, 400, 430, 450},
         45.05,
         QStringLiteral("zw7150M.mdb"),
         100,
         {60, 1080, 10335, 7005},
         {480, 600, 8295, 4815},
         {345, 1155, 915, 1230, 960, 870, 795, 810, 780},
         6,
         3,
         {2400, 4440, 5520, 6360, 7200, 7920, 5040, 7440},
         3,
         true,
         {QString(), readMessage("ZW4630UH", 1, false), QString(), readMessage("ZW4630UL", 1),
          readMessage("ZW4630V", 1)},
         4.0,
         1.0},
        {Model::UL,
         QStringLiteral("ZW4630UL"),
         QStringLiteral("ZW4630UL  (350MHz-370MHz)"),
         QStringLiteral("3"),
         {340, 350, 370, 380},
         45.05,
         QStringLiteral("zw7150L.mdb"),
         100,
         {675, 1395, 9810, 7455},
         {600, 720, 8295, 4815},
         {345, 1155, 915, 1230, 960, 870, 795, 810, 780},
         6,
         3,
         {2520, 4800, 5640, 6600, 7440, 8160, 5520, 7560},
         3,
         true,
         {QString(), readMessage("ZW4630UH", 2), readMessage("ZW4630UM", 2), QString(),
          readMessage("ZW4630V", 2)},
         4.0,
         1.0},
    }};
    return models;
}

} // namespace

const ModelInfo &modelInfo(Model model)
{
    return table()[static_cast<std::size_t>(model)];
}

std::optional<Model> modelFromCode(const QString &code)
{
    for (const ModelInfo &info : table())
        if (info.code == code)
            return info.model;
    return std::nullopt;
}

std::optional<Model> modelFromName(const QString &name)
{
    for (const ModelInfo &info : table())
        if (info.name == name)
            return info.model;
    return std::nullopt;
}

QString otherModelFileMessage(Model fileModel)
{
    return QStringLiteral("本文件是") + modelInfo(fileModel).name +
           QStringLiteral(",转换窗口以后重新读！");
}

} // namespace zw
