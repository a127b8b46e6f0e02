#include "ResourceImages.h"

#include <QPainter>
#include <QSvgRenderer>

#include <map>

// The compiled-in resource set lives in a static library; referencing its initialiser keeps the
// linker from dropping it.
static void initImages()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(tovel_images);
        return true;
    }();
    (void)done;
}

namespace {

const std::map<int, const char*>& files()
{
    static const std::map<int, const char*> table = {
        {128, "ico128_app.svg"},
        {130, "bmp130_header_checks.svg"},
        {152, "bmp152_add_hover.svg"},
        {153, "bmp153_add_normal.svg"},
        {154, "bmp154_add_pressed.svg"},
        {155, "bmp155_clear_hover.svg"},
        {156, "bmp156_clear_normal.svg"},
        {157, "bmp157_clear_pressed.svg"},
        {158, "bmp158_remove_normal.svg"},
        {164, "bmp164_remove_hover.svg"},
        {166, "bmp166_remove_pressed.svg"},
        {167, "bmp167_encode_hover.svg"},
        {168, "bmp168_encode_normal.svg"},
        {169, "bmp169_encode_pressed.svg"},
        {170, "bmp170_stop_hover.svg"},
        {171, "bmp171_stop_normal.svg"},
        {172, "bmp172_stop_pressed.svg"},
        {173, "bmp173_pause_hover.svg"},
        {174, "bmp174_pause_normal.svg"},
        {175, "bmp175_pause_pressed.svg"},
        {176, "bmp176_resume_hover.svg"},
        {177, "bmp177_resume_normal.svg"},
        {178, "bmp178_resume_pressed.svg"},
        {190, "ico190_pause.svg"},
        {191, "ico191_play.svg"},
        {192, "ico192_stop.svg"},
        {193, "bmp193_preview_idle.svg"},
        {195, "bmp195_empty_list_tile.svg"},
    };
    return table;
}

QPixmap render(const QString& file, QSize size)
{
    QSvgRenderer renderer(file);
    if (!renderer.isValid())
        return QPixmap();
    if (!size.isValid())
        size = renderer.defaultSize();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace

QString ResourceImages::path(int id)
{
    initImages();
    const auto it = files().find(id);
    if (it == files().end())
        return QString();
    return QStringLiteral(":/tovel/images/") + QLatin1String(it->second);
}

QPixmap ResourceImages::bitmap(int id)
{
    const QString file = path(id);
    return file.isEmpty() ? QPixmap() : render(file, QSize());
}

QIcon ResourceImages::icon(int id)
{
    const QString file = path(id);
    if (file.isEmpty())
        return QIcon();
    QIcon result;
    const QPixmap natural = render(file, QSize());
    result.addPixmap(natural);
    if (id == 128) {
        for (int side : {16, 24, 32, 48})
            result.addPixmap(render(file, QSize(side, side)));
    }
    return result;
}
