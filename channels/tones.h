#pragma once

#include <QString>
#include <QStringList>

namespace zw
{

// The 39 CTCSS tones the radios offer, in Hz with one decimal ("67.0" to "250.3"), ascending.
const QStringList &ctcssTones();

// The 83 DCS codes ("023" to "754") in ascending order. The radio exchange carries a code as its
// position in this list counted from 1; dcsCode(position) gives the code, or an empty text for a
// position outside 1..83.
const QStringList &dcsCodes();
QString dcsCode(int position);

// The DCS entries of the tone pick lists: "D" + code + "N" ("D023N" to "D754N").
const QStringList &dcsEntries();

} // namespace zw
