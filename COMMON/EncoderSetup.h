#pragma once

#include "EncoderKind.h"

#include <QString>
#include <atomic>
#include <functional>

class CTraceLog;
class EventLog;

// Called on the converting thread (the batch worker) with a whole percentage 1..100 and the
// context of the EncoderSetup. Must only touch what the caller allows from that thread.
using ProgressCallback = std::function<void(int percent, void* context)>;
// Called on the same thread, just before ProgressCallback, with the seconds of media the tool
// reports done (its "time=") and the same context. Optional.
using ProgressTimeCallback = std::function<void(double seconds, void* context)>;

// The engine's configuration, filled once by the main window and kept for the program's life.
// The logs are not owned: the program passes the trace file its WriteLocations name and
// EventLog::createSystem(); tests pass temporary ones.
struct EncoderSetup
{
    int reserved = 0;
    ProgressCallback callback;
    void* context = nullptr;
    EncoderKind kind = EncoderKind::FfmpegTool; // encoder a switch creates
    QString appFolder;                          // the executable's folder, ending in a separator
    QString writeFolder; // where the engine writes edit.avs and the producer's log, ending in a
                         // separator; empty: appFolder
    CTraceLog* trace = nullptr;        // trace.log of this run; null writes no trace
    EventLog* events = nullptr;        // application event log; null reports nothing
    ProgressTimeCallback timeCallback; // optional: speed and time left
    QString scriptName; // script fallback's file in writeFolder; empty: edit.avs. One per engine
                        // that converts at the same time as another.
    // An admission's cancel flag, read by the thread that probes: once set, a probe waiting for
    // the encoder tool's information mode ends it and fails. Null: probes run to their end.
    const std::atomic<bool>* probeCancel = nullptr;
};
