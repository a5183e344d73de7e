#include "linkstate.h"

namespace zw
{

LinkState::Outcome LinkState::outcomeOf(const ReadResult &result)
{
    return result.ok() ? Outcome::Read : Outcome::ReadFailed;
}

LinkState::Outcome LinkState::outcomeOf(const WriteResult &result)
{
    // A write that failed after "A" may have left part of the image in the radio: it is not
    // "nothing written", and nobody checked what the radio holds.
    if (!result.ok())
        return result.sentAny() ? Outcome::NotChecked : Outcome::NothingWritten;
    switch (result.check) {
    case WriteResult::Check::Verified:
        return Outcome::Verified;
    case WriteResult::Check::Differs:
        return Outcome::Differs;
    case WriteResult::Check::Skipped:
    case WriteResult::Check::NotChecked:
        break;
    }
    return Outcome::NotChecked;
}

} // namespace zw
