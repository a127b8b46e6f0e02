#pragma once

#include <QString>
#include <atomic>

// The encoder tool's information mode: the tool answers with one line
// (EncoderToolContract::kInfoReply) at the first byte of its output.
// Runs synchronously on the caller's thread (the window's admission worker, the terminal
// program's main thread).
class CToolInformationProbe
{
public:
    struct Reply
    {
        int duration = 0; // whole seconds; a still picture is given kStillPictureSeconds
        int width = 0;
        int height = 0;
        int hasVideo = 0;
        int hasAudio = 0;
    };

    // Runs `program` with `arguments` and reads its reply into `reply` (a partial match fills
    // the leading fields). Waits at most replyMs for the reply, then at most exitMs for the tool
    // to end; a tool still running then is ended. True when the duration is positive, after
    // the still-picture rule. When `cancel` is given and becomes true, the tool is ended within
    // about kCancelCheckMs and the result is false.
    static bool run(const QString& program, const QStringList& arguments, Reply& reply, int replyMs,
                    int exitMs, const std::atomic<bool>* cancel = nullptr);

    // How often a wait looks at the cancel flag.
    static constexpr int kCancelCheckMs = 50;
};
