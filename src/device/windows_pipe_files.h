#pragma once

#include "pipe_files.h"
#include "setup_api_windows.h"

namespace kvt {

// The driver publishes one device interface per instrument; its path is the
// device's folder, and the pipes are files below it.
class WindowsPipeFiles final : public PipeFiles {
public:
    explicit WindowsPipeFiles(SetupApi &setupApi = systemSetupApi()) : m_setupApi(setupApi) {}

    QStringList devicePaths() override;
    Handle openForReading(const QString &path, int &error) override;
    Handle openForWriting(const QString &path, int &error) override;
    void close(Handle handle) override;
    qint64 read(Handle handle, void *bytes, qint64 count) override;
    qint64 write(Handle handle, const void *bytes, qint64 count) override;

private:
    SetupApi &m_setupApi;
};

} // namespace kvt
