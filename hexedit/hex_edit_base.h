// CHexEditBase: the hex editor control as a Qt widget. It paints what its
// HexEditModel says (only the visible rows) and forwards keys, mouse,
// wheel, focus, resize and the clipboard to it. A dialog creates it where
// it would put a plain widget.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QTimer>

#include <array>
#include <cstdint>
#include <string>
#include <vector>
#include <span>

#include "hex_edit_model.h"

class QMenu;
class QPainter;

namespace morsk {

class CHexEditBase : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CHexEditBase(QWidget* parent = nullptr);

    // The clipboard format of the raw bytes.
    static const QString& BinaryDataFormat();

    // Configuration, as the dialogs call it.
    void SetData(std::span<const uint8_t> bytes);
    void SetBytesPerRow(uint32_t count, bool autoFit);
    void SetShowAddress(bool show);
    void SetShowAscii(bool show);
    void SetAddressDigits(uint32_t digits);
    void SetReadOnly(bool readOnly);
    void SetSelection(uint32_t begin, uint32_t end, bool makeVisible);
    bool HasSelection() const { return model_.HasSelection(); }
    // Without the multi-line style: one row, no scrolling.
    void SetMultiLine(bool multiLine);

    void CopySelection();
    void PasteBytes();
    void SelectAll();

    const hexedit::HexEditModel& model() const { return model_; }

    // Colours of the columns and the background.
    static const QColor kAddressText, kAddressBack, kCharText, kCharBack, kHexText, kHexBack, kBackground;

signals:
    // The user changed a byte (typing or pasting).
    void changed();

protected:
    // Called with the context menu before it is shown; adds nothing here.
    virtual void ExtendContextMenu(QMenu* menu);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool event(QEvent* event) override;

private:
    void Measure();
    // After the model moved: scroll bars, the auto-scroll timer, a repaint.
    void Sync();
    void Changed();
    // Every character a column can show, drawn once in the column's colours
    // into cells of one image; painting a column then copies cells.
    struct CellAtlas {
        QImage image;
        std::array<int, 256> cell{};  // -1: not in the atlas
    };
    CellAtlas MakeAtlas(const char* characters, const QColor& text, const QColor& back) const;
    // Composes the rows of a column from the atlas and draws them in one go;
    // false when the atlas cannot serve (scaled displays, unknown cells).
    bool PaintColumn(QPainter& p, int xPx, int topPx, const std::vector<std::string>& rows, const CellAtlas& atlas);
    // A column from the atlas where it can serve, else as glyph runs.
    void DrawColumn(QPainter& p, int xPx, int topPx, const std::vector<std::string>& rows, const CellAtlas& atlas,
                    const QColor& text);

    // Collects ASCII text one character a cell, from the top of a row, and
    // draws what was collected in one colour.
    void AddCells(int xPx, int topPx, const std::string& text);
    void FlushCells(QPainter& p, const QColor& color);

    hexedit::HexEditModel model_;
    QFont paintFont_;
    QRawFont rawFont_;
    std::array<quint32, 256> glyphOf_{};
    int cellPx_ = 8;
    qreal ascentPx_ = 12;
    QList<quint32> glyphs_;      // reused by every row
    QList<QPointF> positions_;
    CellAtlas addressAtlas_, hexAtlas_, charAtlas_;
    QImage column_;  // reused by every column
    QTimer autoScroll_;
    bool syncing_ = false;
};

}  // namespace morsk
