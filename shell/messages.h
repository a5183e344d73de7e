#pragma once

#include "modelinfo.h"

#include <QString>

namespace zw
{

// Message for a channel file of the model `fileModel`, shown by any window it does not fit.
inline QString otherModelFileMessage(Model fileModel)
{
    return QStringLiteral("本文件是") + modelInfo(fileModel).name +
           QStringLiteral(",转换窗口以后重新读！");
}

} // namespace zw
