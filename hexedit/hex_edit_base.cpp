#include "hex_edit_base.h"

#include <QApplication>

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
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
    autoScroll_.setInterval(hexedit::kAutoScrollTickMs);
    connect(&autoScroll_, &QTimer::timeout, this, [this] {
        model_.Tick();
        Sync();
    });
    Measure();
}

void CHexEditBase::Measure()
{
    const auto [cellPx, lineHeightPx] = renderer_.Measure(font(), viewport());
    model_.SetMetrics(cellPx, lineHeightPx);
    const QColor text[3] = {kAddressText, kHexText, kCharText};
    const QColor back[3] = {kAddressBack, kHexBack, kCharBack};
    renderer_.MakeAtlases(lineHeightPx, text, back);
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
    if (model_.caretIndex() != shownCaret_) {
        shownCaret_ = model_.caretIndex();
        emit caretMoved(shownCaret_);
    }
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

void CHexEditBase::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.setFont(renderer_.font());
    const qreal dpr = viewport()->devicePixelRatioF();
    using Column = HexColumnRenderer::Column;
    // Each column's filled part ends before its gap.
    const int gap = hexedit::kInsetPx;
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
            background -= QRect(dx, data.top, model_.addressWidthPx() - gap, data.height());
        background -= QRect(dx + model_.hexXPx(), data.top, model_.hexWidthPx() - gap, data.height());
        if (model_.showAscii())
            background -= QRect(dx + model_.charXPx(), data.top, model_.charColumnWidthPx(), data.height());
    }
    for (const QRect& r : background)
        p.fillRect(r, kBackground);
    p.setClipRect(QRect(QPoint(data.left - 2, data.top), QPoint(data.right + 1, data.bottom - 1)));

    if (rows > 0) {
        if (model_.showAddress()) {
            p.fillRect(QRect(dx, data.top, model_.addressWidthPx() - gap, data.height()), kAddressBack);
            std::vector<std::string> texts(rows);
            for (uint32_t r = 0; r < rows; ++r)
                texts[r] = model_.AddressText(r);
            renderer_.DrawColumn(p, dx, data.top, texts, Column::Address, kAddressText, dpr);
        }
        const int hexLeft = dx + model_.hexXPx();
        p.fillRect(QRect(hexLeft, data.top, model_.hexWidthPx() - gap, data.height()), kHexBack);
        const bool focused = hasFocus();
        const QPalette& pal = palette();
        const QColor selBack = focused ? pal.color(QPalette::Highlight) : pal.color(QPalette::Button);
        const QColor selText = focused ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::WindowText);
        std::vector<std::string> texts(rows);
        for (uint32_t r = 0; r < rows; ++r)
            texts[r] = model_.HexText(r);
        renderer_.DrawColumn(p, hexLeft, data.top, texts, Column::Hex, kHexText, dpr);
        // The selected part of each row, painted over.
        for (uint32_t r = 0; r < rows; ++r) {
            const int top = data.top + static_cast<int>(r) * lh;
            int c1 = 0, c2 = 0;
            if (model_.SelectedCells(r, c1, c2)) {
                p.fillRect(QRect(QPoint(hexLeft + c1 * cw, top + 1), QPoint(hexLeft + c2 * cw, top + lh - 1)), selBack);
                renderer_.AddCells(hexLeft + c1 * cw, top, texts[r].substr(static_cast<size_t>(c1), static_cast<size_t>(c2 - c1)));
            }
        }
        renderer_.FlushCells(p, selText);
        if (model_.showAscii()) {
            const int charLeft = dx + model_.charXPx();
            p.fillRect(QRect(charLeft, data.top, model_.charColumnWidthPx(), data.height()), kCharBack);
            std::vector<std::string> chars(rows);
            for (uint32_t r = 0; r < rows; ++r)
                chars[r] = model_.CharText(r);
            renderer_.DrawColumn(p, charLeft, data.top, chars, Column::Chars, kCharText, dpr);
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
        at = viewport()->mapToGlobal(QPoint(hexedit::kInsetPx, hexedit::kInsetPx));  // at the data
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
