// CHIRP CSV exchange (first byte: the model). Any bytes either fail as a whole with a reason or
// give a table whose taken rows lie in the model's band on its raster, every refused row with a
// reason in both languages; exporting that table and importing the export gives the same table
// with no row refused. The same bytes read as a channel file and exported either fail with a
// reason or give CSV that reads as CSV again. Undefined behaviour aborts (sanitizers).

#include "chirpcsv.h"
#include "channelfile.h"
#include "channeltexts.h"
#include "fuzzcheck.h"
#include "modelinfo.h"
#include "numberreader.h"

#include <cstdint>

namespace
{

zw::ChannelTable numberedTable()
{
    zw::ChannelTable table;
    for (int row = 0; row < zw::channelCount; ++row) {
        for (QString &field : table[std::size_t(row)].fields)
            field = QLatin1String("");
        table[std::size_t(row)][zw::ChannelNumber] = QString::number(row + 1);
        table[std::size_t(row)][zw::Spare3] = QStringLiteral("023");
    }
    return table;
}

void checkFrequency(const QString &text, const zw::ModelInfo &model)
{
    FUZZ_CHECK(text.size() == 9 && text.at(3) == u'.');
    const double mhz = zw::readNumber(text);
    FUZZ_CHECK(mhz >= model.band.bandLow - 1e-6 && mhz <= model.band.bandHigh + 1e-6);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const zw::ModelInfo &model = zw::modelInfo(zw::allModels[data[0] % zw::modelCount]);
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const zw::ChannelTable current = numberedTable();

    const zw::Expected<zw::CsvImport> read = zw::importChirpCsv(bytes, model, current);
    if (!read) {
        FUZZ_CHECK(!zw::fileFailureText(read.failure(), true).isEmpty());
    } else {
        for (const zw::CsvRowProblem &problem : read->problems) {
            FUZZ_CHECK(!zw::csvReasonText(problem.reason, zw::CsvLanguage::English).isEmpty());
            FUZZ_CHECK(!zw::csvReasonText(problem.reason, zw::CsvLanguage::Chinese).isEmpty());
        }
        int inUse = 0;
        for (std::size_t row = 0; row < read->table.size(); ++row) {
            const zw::ChannelRecord &record = read->table[row];
            FUZZ_CHECK(record[zw::ChannelNumber] == current[row][zw::ChannelNumber]);
            FUZZ_CHECK(record[zw::Spare3] == current[row][zw::Spare3]);
            if (record[zw::RxFrequency].isEmpty())
                continue;
            ++inUse;
            checkFrequency(record[zw::RxFrequency], model);
            if (!record[zw::TxFrequency].isEmpty())
                checkFrequency(record[zw::TxFrequency], model);
        }
        FUZZ_CHECK(inUse == read->rowsTaken);

        const zw::Expected<QByteArray> csv = zw::exportChirpCsv(read->table, model);
        FUZZ_CHECK(csv.ok());
        const zw::Expected<zw::CsvImport> back = zw::importChirpCsv(*csv, model, current);
        FUZZ_CHECK(back.ok());
        FUZZ_CHECK(back->problems.isEmpty());
        FUZZ_CHECK(back->rowsTaken == read->rowsTaken);
        FUZZ_CHECK(back->table == read->table);
    }

    const zw::Expected<zw::ChannelFileData> file = zw::readChannelFile(bytes);
    if (file) {
        const zw::Expected<QByteArray> csv = zw::exportChirpCsv(file->records, model);
        if (!csv) {
            FUZZ_CHECK(!zw::fileFailureText(csv.failure(), true).isEmpty());
        } else {
            const zw::Expected<zw::CsvImport> back = zw::importChirpCsv(*csv, model, current);
            FUZZ_CHECK(back.ok());
        }
    }
    return 0;
}
