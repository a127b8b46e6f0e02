#pragma once

#include <QColor>
#include <QPalette>

// The system colours the owner-drawn controls cache, taken from a widget's palette (read
// again when the palette changes, as on a system colour change).
struct SystemColors
{
    QColor buttonFace, buttonHighlight, buttonShadow, buttonText, greyText;
    QColor highlight, highlightText, window, windowText;
    QColor darkShadow, light;                        // the inner sunken edge
    QColor inactiveHighlight, inactiveHighlightText; // a selection without the focus

    static SystemColors fromPalette(const QPalette& palette)
    {
        SystemColors c;
        c.buttonFace = palette.color(QPalette::Active, QPalette::Button);
        c.buttonHighlight = palette.color(QPalette::Active, QPalette::Light);
        c.buttonShadow = palette.color(QPalette::Active, QPalette::Dark);
        c.buttonText = palette.color(QPalette::Active, QPalette::ButtonText);
        c.greyText = palette.color(QPalette::Disabled, QPalette::Text);
        c.highlight = palette.color(QPalette::Active, QPalette::Highlight);
        c.highlightText = palette.color(QPalette::Active, QPalette::HighlightedText);
        c.window = palette.color(QPalette::Active, QPalette::Base);
        c.windowText = palette.color(QPalette::Active, QPalette::Text);
        c.darkShadow = palette.color(QPalette::Active, QPalette::Shadow);
        c.light = palette.color(QPalette::Active, QPalette::Midlight);
        c.inactiveHighlight = palette.color(QPalette::Inactive, QPalette::Highlight);
        c.inactiveHighlightText = palette.color(QPalette::Inactive, QPalette::HighlightedText);
        return c;
    }
};
