// CHexEditBase: the hex editor control as a Qt widget. It paints what its
// HexEditModel says (only the visible rows) and forwards keys, mouse,
// wheel, focus, resize and the clipboard to it. A dialog creates it where
// it would put a plain widget.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QTimer>

#include <cstdint>
#include <string>
#include <vector>
#include <span>

#include "hex_edit_model.h"
#include "hex_edit_renderer.h"

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
    // The caret stands on another byte.
    void caretMoved(uint32_t index);

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
    hexedit::HexEditModel model_;
    HexColumnRenderer renderer_;
    QTimer autoScroll_;
    bool syncing_ = false;
    uint32_t shownCaret_ = 0xFFFFFFFF;
};

}  // namespace morsk
