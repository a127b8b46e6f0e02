#pragma once

// Which encoder the controller makes current. The numbers are part of the set-up record's
// contract (EncoderSetup::kind) and must stay 0 and 1.
enum class EncoderKind : int
{
    FfmpegTool = 0,
    RealMediaProducer = 1,
};
