#pragma once

#include "EncoderCatalogue.h"

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>

// The encoders and output formats of the installed FFmpeg, as the encoder tool lists them.
// Built once at start-up on the UI thread; read-only afterwards.
class CToolCapabilities : public EncoderCatalogue
{
public:
    // Reads the tool's "-capabilities" listing.
    explicit CToolCapabilities(const QByteArray& listing);

    // Asks the tool in `appFolder`; false (and `capabilities` left empty) when it cannot
    // answer, so that nothing is judged on a missing tool.
    static bool Query(const QString& appFolder, CToolCapabilities& capabilities);

    bool hasEncoder(const QString& name, bool video) const override;
    bool hasMuxer(const QString& name) const override;
    QString muxerForFile(const QString& fileName) const override;

    // True when the listing named nothing at all.
    bool isEmpty() const { return m_video.isEmpty() && m_audio.isEmpty(); }

private:
    QSet<QString> m_video, m_audio, m_muxers;
    QMap<QString, QString> m_byExtension; // extension -> the first format listing it
};
