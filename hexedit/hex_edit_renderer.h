// Paints the hex editor's columns: ASCII text in whole-pixel cells. Each
// column's characters are drawn once into an atlas in the column's colours
// and a repaint copies cells from it (blending glyphs is most of a
// repaint); on scaled displays the glyphs are placed directly, still with
// no text layout per row.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRawFont>

#include <array>
#include <string>
#include <vector>

class QPainter;
class QPaintDevice;

namespace morsk {

class HexColumnRenderer {
public:
    enum class Column { Address, Hex, Chars };

    // Takes the font and measures its cells; returns the cell width and
    // the line height in pixels.
    std::pair<int, int> Measure(const QFont& font, QPaintDevice* device);
    // Draws the atlases for the line height, in the columns' colours.
    void MakeAtlases(int lineHeightPx, const QColor (&text)[3], const QColor (&back)[3]);

    const QFont& font() const { return paintFont_; }
    int cellPx() const { return cellPx_; }

    // Rows of one column from its atlas where it can serve, else as glyph
    // runs in `text`; the device pixel ratio decides.
    void DrawColumn(QPainter& p, int xPx, int topPx, const std::vector<std::string>& rows, Column column,
                    const QColor& text, qreal devicePixelRatio);

    // Collects text one character a cell, from the top of a row, and draws
    // what was collected in one colour.
    void AddCells(int xPx, int topPx, const std::string& text);
    void FlushCells(QPainter& p, const QColor& color);

private:
    struct CellAtlas {
        QImage image;
        std::array<int, 256> cell{};  // -1: not in the atlas
    };
    CellAtlas MakeAtlas(const char* characters, const QColor& text, const QColor& back) const;
    // Composes the rows of a column from the atlas and draws them in one
    // go; false when the atlas cannot serve (unknown cells).
    bool PaintColumn(QPainter& p, int xPx, int topPx, const std::vector<std::string>& rows, const CellAtlas& atlas);

    QFont paintFont_;
    QRawFont rawFont_;
    std::array<quint32, 256> glyphOf_{};
    int cellPx_ = 8;
    int lineHeightPx_ = 16;
    qreal ascentPx_ = 12;
    QList<quint32> glyphs_;  // reused by every row
    QList<QPointF> positions_;
    std::array<CellAtlas, 3> atlases_;
    QImage column_;  // reused by every column
};

}  // namespace morsk
