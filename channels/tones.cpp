#include "tones.h"

namespace zw
{

const QStringList &ctcssTones()
{
    static const QStringList tones{
        QStringLiteral("67.0"),  QStringLiteral("69.3"),  QStringLiteral("71.9"),
        QStringLiteral("74.4"),  QStringLiteral("77.0"),  QStringLiteral("79.7"),
        QStringLiteral("82.5"),  QStringLiteral("85.4"),  QStringLiteral("88.5"),
        QStringLiteral("91.5"),  QStringLiteral("94.8"),  QStringLiteral("97.4"),
        QStringLiteral("100.0"), QStringLiteral("103.5"), QStringLiteral("107.2"),
        QStringLiteral("110.9"), QStringLiteral("114.8"), QStringLiteral("118.8"),
        QStringLiteral("123.0"), QStringLiteral("127.3"), QStringLiteral("131.8"),
        QStringLiteral("136.5"), QStringLiteral("141.3"), QStringLiteral("146.2"),
        QStringLiteral("151.4"), QStringLiteral("156.7"), QStringLiteral("162.2"),
        QStringLiteral("167.9"), QStringLiteral("173.8"), QStringLiteral("179.9"),
        QStringLiteral("186.2"), QStringLiteral("192.8"), QStringLiteral("203.5"),
        QStringLiteral("210.7"), QStringLiteral("218.1"), QStringLiteral("225.7"),
        QStringLiteral("233.6"), QStringLiteral("241.8"), QStringLiteral("250.3"),
    };
    return tones;
}

const QStringList &dcsCodes()
{
    static const QStringList codes =
        QStringLiteral("023 025 026 031 032 043 047 051 054 065 071 072 073 074 114 115 116 125 "
                       "131 132 134 143 "
                       "152 155 156 162 165 172 174 205 223 226 243 244 245 251 261 263 265 271 "
                       "306 311 315 331 "
                       "343 346 351 364 365 371 411 412 413 423 431 432 445 464 465 466 503 506 "
                       "516 532 546 565 "
                       "606 612 624 627 631 632 654 662 664 703 712 723 731 732 734 743 754")
            .split(u' ');
    return codes;
}

QString dcsCode(int position)
{
    const QStringList &codes = dcsCodes();
    if (position < 1 || position > codes.size())
        return QString();
    return codes.at(position - 1);
}

const QStringList &dcsEntries()
{
    static const QStringList entries = [] {
        QStringList list;
        for (const QString &code : dcsCodes())
            list.append(QLatin1Char('D') + code + QLatin1Char('N'));
        return list;
    }();
    return entries;
}

} // namespace zw
