// The WAV and CSV exports of the displayed impact.
#include "formmain.h"

#include "exports/export_commands.h"

namespace kvt {

// The a(t) box is visible exactly in the full view.
#define KVT_EXPORT(handler, format, curve)                                                                  \
    void TForm1::handler()                                                                                  \
    {                                                                                                       \
        FileCommandContext files = fileContext();                                                           \
        exportDisplayedImpact(m_store, files, ExportFormat::format, curve, m_modes.fullView);               \
    }

KVT_EXPORT(ACopyAtoWavExecute, Wav, ExportCurve::Accel)
KVT_EXPORT(ACopyVtoWavExecute, Wav, ExportCurve::Velocity)
KVT_EXPORT(ACopyStoWavExecute, Wav, ExportCurve::Displacement)
KVT_EXPORT(ACopyFtoWavExecute, Wav, ExportCurve::Force)
KVT_EXPORT(ACopyAtoCsvExecute, Csv, ExportCurve::Accel)
KVT_EXPORT(ACopyVtoCsvExecute, Csv, ExportCurve::Velocity)
KVT_EXPORT(ACopyStoCsvExecute, Csv, ExportCurve::Displacement)
KVT_EXPORT(ACopyFtoCsvExecute, Csv, ExportCurve::Force)
KVT_EXPORT(ACopyAllToCsvExecute, Csv, std::nullopt)
#undef KVT_EXPORT

void TForm1::ACopyAllToWavExecute()
{
    FileCommandContext files = fileContext();
    exportAllWav(m_store, files, m_modes.fullView);
}

} // namespace kvt
