#include "hex_edit_renderer.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace morsk {

std::pair<int, int> HexColumnRenderer::Measure(const QFont& font, QPaintDevice* device)
{
    // A character cell is a whole number of pixels: the font's advance,
    // rounded up, with the rest as letter spacing, so that every column
    // lands where the layout says however the font rounds.
    // Full hinting gives most fixed fonts whole-pixel advances already,
    // and text without letter spacing draws much faster.
    paintFont_ = font;
    paintFont_.setHintingPreference(QFont::PreferFullHinting);
    const QFontMetricsF metrics(paintFont_, device);
    const qreal advance = metrics.horizontalAdvance(QLatin1Char('0'));
    const int cellPx = static_cast<int>(std::ceil(advance));
    if (cellPx != advance)
        paintFont_.setLetterSpacing(QFont::AbsoluteSpacing, cellPx - advance);
    rawFont_ = QRawFont::fromFont(paintFont_);
    QString ascii;
    for (int c = 0x20; c < 0x7F; ++c)
        ascii += QLatin1Char(static_cast<char>(c));
    const QList<quint32> glyphs = rawFont_.glyphIndexesForString(ascii);
    glyphOf_.fill(0);
    for (int c = 0x20; c < 0x7F && c - 0x20 < glyphs.size(); ++c)
        glyphOf_[static_cast<size_t>(c)] = glyphs[c - 0x20];
    cellPx_ = cellPx;
    ascentPx_ = metrics.ascent();
    return {cellPx, static_cast<int>(std::ceil(metrics.height()))};
}

void HexColumnRenderer::MakeAtlases(int lineHeightPx, const QColor (&text)[3], const QColor (&back)[3])
{
    lineHeightPx_ = lineHeightPx;
    std::string printable;
    for (int c = 0x20; c < 0x7F; ++c)
        printable += static_cast<char>(c);
    atlases_[static_cast<size_t>(Column::Address)] = MakeAtlas("0123456789ABCDEF", text[0], back[0]);
    atlases_[static_cast<size_t>(Column::Hex)] = MakeAtlas("0123456789ABCDEF ", text[1], back[1]);
    atlases_[static_cast<size_t>(Column::Chars)] = MakeAtlas(printable.c_str(), text[2], back[2]);
}

HexColumnRenderer::CellAtlas HexColumnRenderer::MakeAtlas(const char* characters, const QColor& text, const QColor& back) const
{
    CellAtlas atlas;
    atlas.cell.fill(-1);
    const int count = static_cast<int>(std::strlen(characters));
    atlas.image = QImage(cellPx_ * count, lineHeightPx_, QImage::Format_RGB32);
    atlas.image.fill(back);
    QPainter p(&atlas.image);
    p.setFont(paintFont_);
    p.setPen(text);
    for (int i = 0; i < count; ++i) {
        const auto c = static_cast<unsigned char>(characters[i]);
        atlas.cell[c] = i;
        p.drawText(QPointF(i * cellPx_, ascentPx_), QString(QLatin1Char(static_cast<char>(c))));
    }
    return atlas;
}

bool HexColumnRenderer::PaintColumn(QPainter& p, int xPx, int topPx, const std::vector<std::string>& rows,
                               const CellAtlas& atlas)
{
    const int lh = lineHeightPx_;
    if (atlas.image.height() != lh || rows.empty())
        return false;
    size_t cells = 0;
    for (const std::string& row : rows)
        cells = std::max(cells, row.size());
    const int width = static_cast<int>(cells) * cellPx_;
    const int height = static_cast<int>(rows.size()) * lh;
    if (column_.width() < width || column_.height() < height)
        column_ = QImage(std::max(width, column_.width()), std::max(height, column_.height()), QImage::Format_RGB32);
    const size_t cellBytes = static_cast<size_t>(cellPx_) * 4;
    const QColor back = atlas.image.pixelColor(atlas.image.width() - 1, 0);
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::string& row = rows[r];
        for (int y = 0; y < lh; ++y) {
            auto* line = column_.scanLine(static_cast<int>(r) * lh + y);
            const auto* source = atlas.image.constScanLine(y);
            for (size_t i = 0; i < cells; ++i) {
                const int cell = i < row.size() ? atlas.cell[static_cast<unsigned char>(row[i])] : -1;
                if (cell < 0) {
                    if (i < row.size() && row[i] != ' ')
                        return false;  // a character the atlas lacks
                    std::fill_n(reinterpret_cast<QRgb*>(line + i * cellBytes), cellPx_, back.rgb());
                } else {
                    std::memcpy(line + i * cellBytes, source + static_cast<size_t>(cell) * cellBytes, cellBytes);
                }
            }
        }
    }
    p.drawImage(QPoint(xPx, topPx), column_, QRect(0, 0, width, height));
    return true;
}

void HexColumnRenderer::DrawColumn(QPainter& p, int xPx, int topPx, const std::vector<std::string>& rows,
                                   Column column, const QColor& text, qreal devicePixelRatio)
{
    if (devicePixelRatio == 1.0 && PaintColumn(p, xPx, topPx, rows, atlases_[static_cast<size_t>(column)]))
        return;
    for (size_t r = 0; r < rows.size(); ++r)
        AddCells(xPx, topPx + static_cast<int>(r) * lineHeightPx_, rows[r]);
    FlushCells(p, text);
}

void HexColumnRenderer::AddCells(int xPx, int topPx, const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ' ')
            continue;
        glyphs_.push_back(glyphOf_[c]);
        positions_.push_back(QPointF(xPx + static_cast<qreal>(i) * cellPx_, topPx + ascentPx_));
    }
}

void HexColumnRenderer::FlushCells(QPainter& p, const QColor& color)
{
    // One run for a whole column: the painter's cost is per call.
    if (!glyphs_.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(rawFont_);
        run.setGlyphIndexes(glyphs_);
        run.setPositions(positions_);
        p.setPen(color);
        p.drawGlyphRun(QPointF(0, 0), run);
    }
    glyphs_.clear();
    positions_.clear();
}

}  // namespace morsk
