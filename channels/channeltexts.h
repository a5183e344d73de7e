#pragma once

#include "channelclipboard.h"
#include "chirpcsv.h"
#include "result.h"

#include <QString>

namespace zw
{

// The words for every way a channel file, a CHIRP CSV list, a paste or a backup fails, in
// English or Chinese. The window shows them in its language, the command-line tool in English,
// so both say the same of the same failure. The domain code returns only kinds and values.

// A failure of a file (FileFailure) or of a CSV list as a whole (CsvFailure); for any other
// failure, its own text.
QString fileFailureText(const Failure &failure, bool english);
// Why a file could not be written or read, without its name, to go inside a message that
// names it: the system's own words where it refused.
QString fileFailureReason(const Failure &failure, bool english);

// Why a row of a CHIRP CSV list does not fit.
enum class CsvLanguage { English, Chinese };
QString csvReasonText(const CsvReason &reason, CsvLanguage language);

// Why a paste or a pasted row does not fit, or why a row is taken with a warning.
QString pasteReasonText(const PasteReason &reason, bool english);

} // namespace zw
