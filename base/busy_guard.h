// Keeps a window alive while an operation runs on the one thread: after
// every status line and progress step the pending window-system events are
// handled (paint, expose, move, resize, the desktop's liveness check),
// while user input to the guarded windows is dropped, not queued, and a
// close request waits until the run ends. Message boxes the operation opens
// are windows of their own and work normally.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

namespace morsk {

class BusyFilter : public QObject {
    Q_OBJECT
public:
    explicit BusyFilter(QObject* parent = nullptr);

    bool busy() const { return depth_ > 0; }
    // Handles pending events; does nothing while idle.
    void Pump();

    // Called by the guarded window's close handler: during a run the close
    // is refused and done once the run has ended.
    bool DeferClose(QWidget* window);

    // Input to this widget still reaches it during a run: the cancel
    // button, the one control that must work then.
    void LetThrough(QWidget* widget) { through_ = widget; }

    // How many input events were dropped (for tests and diagnostics).
    int dropped() const { return dropped_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class BusyGuard;
    void Begin(std::vector<QWidget*> windows);
    void End();

    int depth_ = 0;
    int dropped_ = 0;
    std::vector<QPointer<QWidget>> windows_;
    QPointer<QWidget> closePending_;
    QPointer<QWidget> through_;
};

// One operation's run; nests.
class BusyGuard {
public:
    BusyGuard(BusyFilter& filter, std::vector<QWidget*> windows);
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    BusyFilter& filter_;
};

}  // namespace morsk
