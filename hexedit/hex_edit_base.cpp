#include "hex_edit_base.h"

#include <QApplication>

#include <cmath>
#include <cstring>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

namespace morsk {

using hexedit::Key;
using hexedit::PointPx;

const QColor CHexEditBase::kAddressText(255, 0, 0);
const QColor CHexEditBase::kAddressBack(90, 0, 0);
const QColor CHexEditBase::kCharText(0, 255, 0);
const QColor CHexEditBase::kCharBack(0, 20, 0);
const QColor CHexEditBase::kHexText(0, 0, 255);
const QColor CHexEditBase::kHexBack(180, 210, 190);
const QColor CHexEditBase::kBackground(210, 210, 210);

const QString& CHexEditBase::BinaryDataFormat()
{
    static const QString format = QStringLiteral("BinaryData");
    return format;
}

CHexEditBase::CHexEditBase(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    autoScroll_.setInterval(5);
    connect(&autoScroll_, &QTimer::timeout, this, [this] {
        model_.Tick();
        Sync();
    });
    Measure();
}

void CHexEditBase::Measure()
{
    // A character cell is a whole number of pixels: the font's advance,
    // rounded up, with the rest as letter spacing, so that every column
    // lands where the layout says however the font rounds.
    // Full hinting gives most fixed fonts whole-pixel advances already,
    // and text without letter spacing draws much faster.
    paintFont_ = font();
    paintFont_.setHintingPreference(QFont::PreferFullHinting);
    const QFontMetricsF metrics(paintFont_, viewport());
    const qreal advance = metrics.horizontalAdvance(QLatin1Char('0'));
    const int cellPx = static_cast<int>(std::ceil(advance));
    if (cellPx != advance)
        paintFont_.setLetterSpacing(QFont::AbsoluteSpacing, cellPx - advance);
    // The texts are ASCII in fixed cells. Each column's characters are
    // drawn once into an atlas and copied cell by cell (blending glyphs is
    // most of a repaint); on scaled displays the glyphs are placed directly,
    // still with no text layout per row.
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
    model_.SetMetrics(cellPx, static_cast<int>(std::ceil(metrics.height())));
    std::string printable;
    for (int c = 0x20; c < 0x7F; ++c)
        printable += static_cast<char>(c);
    addressAtlas_ = MakeAtlas("0123456789ABCDEF", kAddressText, kAddressBack);
    hexAtlas_ = MakeAtlas("0123456789ABCDEF ", kHexText, kHexBack);
    charAtlas_ = MakeAtlas(printable.c_str(), kCharText, kCharBack);
    model_.SetClientRect({0, 0, viewport()->width(), viewport()->height()});
}

void CHexEditBase::Sync()
{
    syncing_ = true;
    const hexedit::ScrollBarState v = model_.VerticalBar();
    verticalScrollBar()->setRange(0, v.visible ? v.maximum : 0);
    verticalScrollBar()->setPageStep(std::max(v.page, 1));
    verticalScrollBar()->setValue(v.position);
    const hexedit::ScrollBarState h = model_.HorizontalBar();
    horizontalScrollBar()->setRange(0, h.visible ? h.maximum : 0);
    horizontalScrollBar()->setPageStep(std::max(h.page, 1));
    horizontalScrollBar()->setSingleStep(model_.charWidthPx());
    horizontalScrollBar()->setValue(h.position);
    syncing_ = false;
    if (model_.autoScrollRunning() && !autoScroll_.isActive())
        autoScroll_.start();
    else if (!model_.autoScrollRunning())
        autoScroll_.stop();
    viewport()->update();
}

void CHexEditBase::Changed()
{
    Sync();
    emit changed();
}

// --- configuration ------------------------------------------------------------

void CHexEditBase::SetData(std::span<const uint8_t> bytes)
{
    model_.SetData(bytes);
    Sync();
}

void CHexEditBase::SetBytesPerRow(uint32_t count, bool autoFit)
{
    model_.SetBytesPerRow(count, autoFit);
    Sync();
}

void CHexEditBase::SetShowAddress(bool show)
{
    model_.SetShowAddress(show);
    Sync();
}

void CHexEditBase::SetShowAscii(bool show)
{
    model_.SetShowAscii(show);
    Sync();
}

void CHexEditBase::SetAddressDigits(uint32_t digits)
{
    model_.SetAddressDigits(digits);
    Sync();
}

void CHexEditBase::SetReadOnly(bool readOnly)
{
    model_.SetReadOnly(readOnly);
    viewport()->update();
}

void CHexEditBase::SetSelection(uint32_t begin, uint32_t end, bool makeVisible)
{
    model_.SetSelection(begin, end, makeVisible);
    Sync();
}

void CHexEditBase::SetMultiLine(bool multiLine)
{
    model_.SetMultiLine(multiLine);
    const Qt::ScrollBarPolicy policy = multiLine ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setVerticalScrollBarPolicy(policy);
    setHorizontalScrollBarPolicy(policy);
    Measure();
    Sync();
}

// --- clipboard ------------------------------------------------------------------

void CHexEditBase::CopySelection()
{
    if (!model_.HasSelection())
        return;
    const std::vector<uint8_t> block = model_.BinaryDataBlock();
    auto* mime = new QMimeData;
    mime->setData(BinaryDataFormat(), QByteArray(reinterpret_cast<const char*>(block.data()),
                                                 static_cast<qsizetype>(block.size())));
    mime->setText(QString::fromLatin1(model_.ClipboardText()));
    QApplication::clipboard()->setMimeData(mime);
}

void CHexEditBase::PasteBytes()
{
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (!mime || !mime->hasFormat(BinaryDataFormat()))
        return;  // the text form is never read
    const QByteArray block = mime->data(BinaryDataFormat());
    const bool wrote = model_.PasteBytes(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(block.constData()), static_cast<size_t>(block.size())));
    if (wrote)
        Changed();
    else
        Sync();
}

void CHexEditBase::SelectAll()
{
    model_.SelectAll();
    Sync();
}

void CHexEditBase::ExtendContextMenu(QMenu*) {}

// --- painting -------------------------------------------------------------------

CHexEditBase::CellAtlas CHexEditBase::MakeAtlas(const char* characters, const QColor& text, const QColor& back) const
{
    CellAtlas atlas;
    atlas.cell.fill(-1);
    const int count = static_cast<int>(std::strlen(characters));
    atlas.image = QImage(cellPx_ * count, model_.lineHeightPx(), QImage::Format_RGB32);
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

bool CHexEditBase::PaintColumn(QPainter& p, int xPx, int topPx, const std::vector<std::string>& rows,
                               const CellAtlas& atlas)
{
    const int lh = model_.lineHeightPx();
    if (viewport()->devicePixelRatioF() != 1.0 || atlas.image.height() != lh || rows.empty())
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

void CHexEditBase::DrawColumn(QPainter& p, int xPx, int topPx, const std::vector<std::string>& rows,
                              const CellAtlas& atlas, const QColor& text)
{
    if (PaintColumn(p, xPx, topPx, rows, atlas))
        return;
    for (size_t r = 0; r < rows.size(); ++r)
        AddCells(xPx, topPx + static_cast<int>(r) * model_.lineHeightPx(), rows[r]);
    FlushCells(p, text);
}

void CHexEditBase::AddCells(int xPx, int topPx, const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ' ')
            continue;
        glyphs_.push_back(glyphOf_[c]);
        positions_.push_back(QPointF(xPx + static_cast<qreal>(i) * cellPx_, topPx + ascentPx_));
    }
}

void CHexEditBase::FlushCells(QPainter& p, const QColor& color)
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

void CHexEditBase::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.setFont(paintFont_);
    model_.EnsureLayout();
    const QRect client = viewport()->rect();
    const hexedit::RectPx& data = model_.dataRect();
    const uint32_t rows = model_.PaintedRows();
    const int lh = model_.lineHeightPx();
    const int cw = model_.charWidthPx();
    const int dx = data.left - model_.horizontalOffsetPx();
    // The background goes only where no column will cover it: a full
    // screen of pixels filled twice costs as much as the text.
    QRegion background(client);
    if (rows > 0) {
        if (model_.showAddress())
            background -= QRect(dx, data.top, model_.addressWidthPx() - 5, data.height());
        background -= QRect(dx + model_.hexXPx(), data.top, model_.hexWidthPx() - 5, data.height());
        if (model_.showAscii())
            background -= QRect(dx + model_.charXPx(), data.top, model_.charColumnWidthPx(), data.height());
    }
    for (const QRect& r : background)
        p.fillRect(r, kBackground);
    p.setClipRect(QRect(QPoint(data.left - 2, data.top), QPoint(data.right + 1, data.bottom - 1)));

    if (rows > 0) {
        if (model_.showAddress()) {
            p.fillRect(QRect(dx, data.top, model_.addressWidthPx() - 5, data.height()), kAddressBack);
            std::vector<std::string> texts(rows);
            for (uint32_t r = 0; r < rows; ++r)
                texts[r] = model_.AddressText(r);
            DrawColumn(p, dx, data.top, texts, addressAtlas_, kAddressText);
        }
        const int hexLeft = dx + model_.hexXPx();
        p.fillRect(QRect(hexLeft, data.top, model_.hexWidthPx() - 5, data.height()), kHexBack);
        const bool focused = hasFocus();
        const QPalette& pal = palette();
        const QColor selBack = focused ? pal.color(QPalette::Highlight) : pal.color(QPalette::Button);
        const QColor selText = focused ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::WindowText);
        std::vector<std::string> texts(rows);
        for (uint32_t r = 0; r < rows; ++r)
            texts[r] = model_.HexText(r);
        DrawColumn(p, hexLeft, data.top, texts, hexAtlas_, kHexText);
        // The selected part of each row, painted over.
        for (uint32_t r = 0; r < rows; ++r) {
            const int top = data.top + static_cast<int>(r) * lh;
            int c1 = 0, c2 = 0;
            if (model_.SelectedCells(r, c1, c2)) {
                p.fillRect(QRect(QPoint(hexLeft + c1 * cw, top + 1), QPoint(hexLeft + c2 * cw, top + lh - 1)), selBack);
                AddCells(hexLeft + c1 * cw, top, texts[r].substr(static_cast<size_t>(c1), static_cast<size_t>(c2 - c1)));
            }
        }
        FlushCells(p, selText);
        if (model_.showAscii()) {
            const int charLeft = dx + model_.charXPx();
            p.fillRect(QRect(charLeft, data.top, model_.charColumnWidthPx(), data.height()), kCharBack);
            std::vector<std::string> chars(rows);
            for (uint32_t r = 0; r < rows; ++r)
                chars[r] = model_.CharText(r);
            DrawColumn(p, charLeft, data.top, chars, charAtlas_, kCharText);
        }
    }
    // The block caret inverts what it covers.
    const hexedit::CaretBox& caret = model_.caret();
    if (caret.visible && hasFocus()) {
        p.setClipping(false);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(QRect(caret.rect.left, caret.rect.top, caret.rect.width(), caret.rect.height()), Qt::white);
    }
}

// --- events ---------------------------------------------------------------------

void CHexEditBase::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    Measure();
    Sync();
}

bool CHexEditBase::event(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        // Only a fixed-pitch font is taken; any other keeps the old one.
        if (!QFontInfo(font()).fixedPitch())
            setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        Measure();
        Sync();
    }
    return QAbstractScrollArea::event(event);
}

void CHexEditBase::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool shift = mods & Qt::ShiftModifier;
    if (mods & Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_A: SelectAll(); return;
        case Qt::Key_C: CopySelection(); return;
        case Qt::Key_V: PasteBytes(); return;
        default: break;
        }
    }
    Key key = Key::Other;
    switch (event->key()) {
    case Qt::Key_PageUp: key = Key::PageUp; break;
    case Qt::Key_PageDown: key = Key::PageDown; break;
    case Qt::Key_End: key = Key::End; break;
    case Qt::Key_Home: key = Key::Home; break;
    case Qt::Key_Left: key = Key::Left; break;
    case Qt::Key_Right: key = Key::Right; break;
    case Qt::Key_Up: key = Key::Up; break;
    case Qt::Key_Down: key = Key::Down; break;
    default: break;
    }
    model_.KeyDown(key, shift);
    bool wrote = false;
    const QString text = event->text();
    if (key == Key::Other && text.size() == 1 && !(mods & Qt::ControlModifier))
        wrote = model_.Character(text.at(0).unicode(), shift);
    // Enter and Escape stay here: they must not close the dialog.
    event->accept();
    if (wrote)
        Changed();
    else
        Sync();
}

void CHexEditBase::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const int drag = QApplication::startDragDistance();
    model_.ButtonDown({event->position().toPoint().x(), event->position().toPoint().y()}, drag, drag);
    Sync();
}

void CHexEditBase::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    model_.PointerMove({p.x(), p.y()}, event->buttons() & Qt::LeftButton);
    Sync();
}

void CHexEditBase::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    model_.ButtonUp();
    Sync();
}

void CHexEditBase::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint p = event->position().toPoint();
    model_.DoubleClick({p.x(), p.y()});
    Sync();
}

void CHexEditBase::wheelEvent(QWheelEvent* event)
{
    model_.Wheel(event->angleDelta().y());
    event->accept();
    Sync();
}

void CHexEditBase::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    model_.SetFocus(true);
    Sync();
}

void CHexEditBase::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    model_.SetFocus(false);
    Sync();
}

void CHexEditBase::scrollContentsBy(int, int)
{
    if (syncing_)
        return;
    // The user moved a scroll bar.
    model_.SetTopRow(static_cast<uint32_t>(verticalScrollBar()->value()));
    model_.SetHorizontalOffset(horizontalScrollBar()->value());
    viewport()->update();
}

void CHexEditBase::contextMenuEvent(QContextMenuEvent* event)
{
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        at = viewport()->mapToGlobal(QPoint(5, 5));
    } else {
        const QPoint p = viewport()->mapFromGlobal(event->globalPos());
        model_.ContextClick({p.x(), p.y()});
        Sync();
    }
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("Copy"));
    copy->setObjectName(QStringLiteral("copy"));
    copy->setEnabled(model_.CanCopy());
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    QAction* paste = menu.addAction(QStringLiteral("Paste"));
    paste->setObjectName(QStringLiteral("paste"));
    paste->setEnabled(model_.CanPaste(mime && mime->hasFormat(BinaryDataFormat())));
    ExtendContextMenu(&menu);
    QAction* chosen = menu.exec(at);
    if (chosen == copy)
        CopySelection();
    else if (chosen == paste)
        PasteBytes();
}

}  // namespace morsk
