#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's own pictures, looked up by their resource numbers (bitmaps 130, 152-158, 164,
// 166-178, 193, 195; icons 128, 190-192). Threads: UI thread (QPixmap).
namespace ResourceImages {

// The pictures by name, valued by their resource numbers.
enum Id : int
{
    AppIcon = 128,
    HeaderChecks = 130, // the job list's header images: plain, unchecked, checked
    AddHover = 152,
    AddNormal = 153,
    AddPressed = 154,
    ClearHover = 155,
    ClearNormal = 156,
    ClearPressed = 157,
    RemoveNormal = 158,
    RemoveHover = 164,
    RemovePressed = 166,
    EncodeHover = 167,
    EncodeNormal = 168,
    EncodePressed = 169,
    StopHover = 170,
    StopNormal = 171,
    StopPressed = 172,
    PauseHover = 173, // the batch's Pause, and Resume once it is paused
    PauseNormal = 174,
    PausePressed = 175,
    ResumeHover = 176,
    ResumeNormal = 177,
    ResumePressed = 178,
    PauseIcon = 190,
    PlayIcon = 191,
    StopIcon = 192,
    PreviewIdle = 193,
    EmptyListTile = 195,
};

// The resource path of picture `id`; empty when the program has no such picture.
QString path(int id);

// Picture `id` drawn at its own size; a null pixmap when there is none.
QPixmap bitmap(int id);

// Icon `id` (the program's icon carries several sizes); a null icon when there is none.
QIcon icon(int id);

} // namespace ResourceImages
