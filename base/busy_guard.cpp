#include "busy_guard.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace morsk {
namespace {

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

}  // namespace

BusyFilter::BusyFilter(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

void BusyFilter::Pump()
{
    if (busy())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool BusyFilter::DeferClose(QWidget* window)
{
    if (!busy())
        return false;
    closePending_ = window;
    return true;
}

bool BusyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (!busy() || !IsUserInput(event->type()) || !watched->isWidgetType())
        return false;
    const auto* widget = static_cast<QWidget*>(watched);
    if (through_ && (widget == through_ || through_->isAncestorOf(widget)))
        return false;
    const QWidget* top = widget->window();
    for (const QPointer<QWidget>& w : windows_) {
        if (w && w == top) {
            ++dropped_;
            return true;
        }
    }
    return false;
}

void BusyFilter::Begin(std::vector<QWidget*> windows)
{
    if (depth_++ == 0) {
        windows_.assign(windows.begin(), windows.end());
        for (QWidget* w : windows)
            w->setCursor(Qt::BusyCursor);
    }
}

void BusyFilter::End()
{
    if (--depth_ > 0)
        return;
    for (const QPointer<QWidget>& w : windows_)
        if (w)
            w->unsetCursor();
    windows_.clear();
    if (QPointer<QWidget> window = closePending_) {
        closePending_ = nullptr;
        // After the handler that ran the operation has returned.
        QTimer::singleShot(0, window, [window] {
            if (window)
                window->close();
        });
    }
}

BusyGuard::BusyGuard(BusyFilter& filter, std::vector<QWidget*> windows) : filter_(filter)
{
    filter_.Begin(std::move(windows));
}

BusyGuard::~BusyGuard()
{
    filter_.End();
}

}  // namespace morsk
