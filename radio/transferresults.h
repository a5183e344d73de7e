#pragma once

#include "channelfile.h"
#include "codec.h"
#include "modelinfo.h"

#include <QList>
#include <QString>

#include <optional>

namespace zw
{

// What a read brought back, already decoded for the session's model.
struct ReadResult {
    enum class Outcome {
        Read,         // a radio of the session's model: channels and settings hold its contents
        OtherModel,   // a radio of another model (radioModel): nothing of it is to be applied
        NoAnswer,     // nothing came back before the silence limit
        Cut,          // the reply stopped before its 576 characters
        Garbled,      // a character that is no hexadecimal digit (line noise)
        UnknownModel, // the trailer names no model of the family
        PortLost,     // the port failed or was closed (portError says why)
    };
    Outcome outcome = Outcome::NoAnswer;
    RadioChannels channels; // what the radio sent, only with Read (mergeRadioChannels applies it)
    TrailerSettings settings;
    std::optional<Model> radioModel;
    QString portError;

    bool ok() const { return outcome == Outcome::Read; }
    // The radio's contents as a channel file of `model` holds them: the channels merged into an
    // empty table numbered 1 to 16. A setting the trailer does not carry takes the value a newly
    // opened window starts with: squelch "3", channel tone 中文.
    ChannelFileData channelFile(Model model) const;
};

struct WriteResult {
    enum class Outcome {
        Written,       // "A" and the 17 blocks left the port (check says what the radio holds)
        NoAnswer,      // the radio had not answered the ready poll, or not the read request
        OtherModel,    // the radio is another model (radioModel): nothing sent
        NotIdentified, // the radio's reply to the read request was cut, garbled or named no model
        Declined,      // the check before the write said no (see setBeforeWrite)
        PortLost,      // the port failed or was closed before the last block was out
    };
    // What reading the radio back after a write found. The radio acknowledges nothing, so only
    // Verified says the channels arrived.
    enum class Check {
        Skipped,    // not asked for (setVerifyWrites(false)), or the write did not end Written
        Verified,   // the radio holds the 16 channels and both settings as they were sent
        Differs,    // the radio holds something else in differingChannels / the settings
        NotChecked, // the read-back did not happen or brought nothing usable (notCheckedReason)
    };
    enum class NotCheckedReason {
        NoReadyAnswer, // the radio did not answer the ready poll after the write
        NoReply,       // it answered the poll, but not the read request
        CutReply,      // its reply stopped short
        GarbledReply,  // its reply held line noise or named no model of its own
        PortLost,      // the port failed during the read-back
        SlowReply,     // its reply took longer than a reply at the line's speed can
        Interrupted,   // the program was asked to end and did not wait for the check
    };
    Outcome outcome = Outcome::Written;
    std::optional<Model> radioModel;
    QString portError;
    // "A" left the port: from then on the radio takes blocks, and a write that ends early may
    // have left part of the channels in it. Before it, whatever failed, nothing was written.
    bool writeRequestSent = false;

    Check check = Check::Skipped;
    NotCheckedReason notCheckedReason = NotCheckedReason::NoReadyAnswer;
    // With Differs: the channels (1..16) the radio holds otherwise than sent, whether the
    // settings differ, and what the radio holds (all 16 channels and its settings).
    QList<int> differingChannels;
    bool settingsDiffer = false;
    RadioChannels radioChannels;
    TrailerSettings radioSettings;
    // With Verified or Differs: the channels (1..16) and whether the settings the write
    // changed, compared with what the radio held when it was identified before the write.
    QList<int> changedChannels;
    bool settingsChanged = false;

    // The whole image left the port; check tells whether the radio holds it.
    bool ok() const { return outcome == Outcome::Written; }
    bool verified() const { return ok() && check == Check::Verified; }
    // Whether any of the write ("A" or a block) reached the line.
    bool sentAny() const { return writeRequestSent; }
};

} // namespace zw
