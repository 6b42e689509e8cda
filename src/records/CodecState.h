#pragma once

#include "platform/text/Ansi.h"
#include "records/BarFormat.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace quorvane::records {

// The converter of PLU first lines from the code page, kept from one row to the next of a reload (opening
// one costs more than converting a name); opened again when the code page changes.
class FirstLineDecoder {
public:
    QString decode(const QByteArray& bytes);
    void clear() { m_decoder.reset(); }

private:
    QString m_codePage;
    std::optional<text::Decoder> m_decoder;
};

// What the codecs keep from one call to the next. resetProgramState() empties it, as a fresh run starts.
struct CodecState {
    BarFormatMemory encoderMemory;  // of EncodePLURecord
    BarFormatMemory composerMemory; // of ComposeEANData and DeriveEANItemCode
    FlexibleBarcodeMemory flexibleBarcodes;
    FirstLineDecoder firstLines;
};

CodecState& codecState();

} // namespace quorvane::records
