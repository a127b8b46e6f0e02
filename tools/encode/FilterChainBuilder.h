#pragma once

#include <QString>
#include <QStringList>

// Collects the old tool's picture and sound options that modern FFmpeg expresses as filters
// and writes them as -vf / -af chains in the order the old tool applied them:
// picture loop, deinterlace, crop, scale to the size inside the padding, pad;
// volume, then resampling that keeps sound in step with the picture.
class FilterChainBuilder
{
public:
    enum Side
    {
        Top,
        Bottom,
        Left,
        Right
    };

    // A still picture shown as a clip: the one frame repeated at `rate` frames per second.
    void setLoopPicture(int rate) { m_loopRate = rate; }
    // Deinterlaces first, before any crop or scale, with FFmpeg's `filter`.
    void setDeinterlace(const char* filter = "yadif") { m_deinterlace = filter; }
    // A filter that draws subtitles onto the picture, after the crop and before any scale.
    void setBurnIn(const QString& filter) { m_burnIn = filter; }
    // Pixels cut from / added to one side; false (and nothing kept) for a bad value.
    bool setCrop(Side side, const QString& pixels);
    bool setPad(Side side, const QString& pixels);
    // Colour of the pad bands as six hex digits ("000000" ... "FFFFFF", "#" or "0x" allowed).
    bool setPadColor(const QString& hex);
    // The frame size inside the padding.
    void setSize(int width, int height);
    // The picture scaled to `width` x `height` and centred in a black frame of `frameWidth` x
    // `frameHeight`, after everything else.
    void setFit(int width, int height, int frameWidth, int frameHeight);
    // The old volume scale: 256 is unchanged.
    bool setVolume(const QString& value);
    // Samples per second by which sound may be stretched to stay in sync; 0 or less: none.
    bool setAudioSync(const QString& value);

    // True when the size must be applied inside the video chain rather than by -s.
    bool sizeInChain() const { return hasCrop() || hasPad(); }
    // Pixels cut from `side`.
    int crop(Side side) const { return m_crop[side]; }

    QString video() const; // empty when no video filter is needed
    QString audio() const; // empty when no audio filter is needed

private:
    bool hasCrop() const;
    bool hasPad() const;

    int m_loopRate = 0;
    const char* m_deinterlace = nullptr;
    QString m_burnIn;
    int m_crop[4] = {0, 0, 0, 0};
    int m_pad[4] = {0, 0, 0, 0};
    QString m_padColor = QStringLiteral("0x000000");
    int m_width = 0;
    int m_height = 0;
    int m_fit[4] = {0, 0, 0, 0}; // picture width, height, frame width, height
    QString m_volume;
    int m_async = 0;
};
