#include "records/CodecState.h"

#include "platform/StateReset.h"
#include "platform/text/Ansi.h"

namespace quorvane::records {

namespace {

CodecState gCodecState;

void resetCodecState()
{
    gCodecState.encoderMemory.clear();
    gCodecState.composerMemory.clear();
    gCodecState.flexibleBarcodes.clear();
    gCodecState.firstLines.clear();
}

const ResetWithState kResetCodecState(&resetCodecState);

} // namespace

CodecState& codecState() { return gCodecState; }

QString FirstLineDecoder::decode(const QByteArray& bytes)
{
    if (!m_decoder || m_codePage != text::ansiCodePage()) {
        m_codePage = text::ansiCodePage();
        m_decoder.emplace(text::Encoding::Ansi);
    }
    // A lead byte left without its partner at the end is dropped, not carried into the next line.
    m_decoder->resetState();
    const QString out = m_decoder->decode(bytes);
    m_decoder->resetState();
    return out;
}

} // namespace quorvane::records
