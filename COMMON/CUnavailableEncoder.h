#pragma once

#include "CMediaEncoder.h"

// Stands in for an encoder this build does not have (the RealMedia producer): it attaches
// with 0, converts nothing and, like the producer, leaves probing to the FFmpeg encoder.
class CUnavailableEncoder : public CMediaEncoder
{
public:
    int Attach(const EncoderSetup*) override { return 0; }
    int Setup(const ConversionJob*) override { return 0; }
    int Run(const QString&, int) override { return 0; }
    int Stop() override { return 1; }
    int Probe(const QString&, ConversionJob*) override { return 1; }
    int Event(int, qint64, const QByteArray&, int) override { return 1; }
};
