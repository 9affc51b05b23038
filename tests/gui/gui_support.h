// Helpers for driving real widgets: a main window over a temporary working
// directory, and a hand for the modal dialogs and message boxes it opens.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app_state.h"
#include "control_table.h"
#include "main_window.h"
#include "test_support.h"
#include "text_util.h"

namespace morsk::test {

// Answers modal windows as they open: a message box is recorded and closed
// with OK; any other dialog is handed to the next queued action.
class ModalHand : public QObject {
public:
    ModalHand()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Look(); });
        timer_.start();
        qApp->installEventFilter(this);
    }
    ~ModalHand() override { qApp->removeEventFilter(this); }
    void Then(std::function<void(QWidget*)> action) { actions_.push_back(std::move(action)); }

    struct Box {
        std::string text;
        std::string caption;
        bool operator==(const Box&) const = default;
    };
    std::vector<Box> boxes;
    // The buttons to press in the next message boxes that ask; OK otherwise.
    std::deque<QMessageBox::StandardButton> answers;

protected:
    // Dialogs are reused: every showing counts as a new one.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* dialog = qobject_cast<QDialog*>(watched))
                fresh_ = dialog;
        return false;
    }

private:
    void Look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal != fresh_)
            return;
        fresh_ = nullptr;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxes.push_back({box->text().toStdString(), box->windowTitle().toStdString()});
            if (!answers.empty()) {
                QAbstractButton* button = box->button(answers.front());
                answers.pop_front();
                if (button) {
                    button->click();
                    return;
                }
            }
            box->accept();
            return;
        }
        if (actions_.empty())
            return;
        auto action = std::move(actions_.front());
        actions_.pop_front();
        // Run outside this timer's handler, so that the hand still answers
        // the boxes the action itself opens.
        QPointer<QWidget> target = modal;
        QTimer::singleShot(0, this, [action = std::move(action), target] {
            if (target)
                action(target);
        });
    }

    QTimer timer_;
    QPointer<QWidget> fresh_;
    std::deque<std::function<void(QWidget*)>> actions_;
};

// Types a name into a file dialog and confirms it.
inline std::function<void(QWidget*)> ChooseFile(const std::string& path)
{
    return [path](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(path));
        QMetaObject::invokeMethod(files, "accept");
    };
}

inline void Click(const QWidget* parent, int id)
{
    auto* button = Control<QAbstractButton>(parent, id);
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton);
}

// A main window working in a directory of its own with the shipped list.
struct WindowRig {
    explicit WindowRig(const std::string& setupIni = "", ProgrammerOptions programmer = {})
    {
        WriteFile(dir.File("Device.csv"), ReadFile(MORSK_DEVICE_LIST));
        if (!setupIni.empty())
            WriteFile(dir.File("setup.ini"), setupIni);
        station = std::make_unique<Station>();
        app = &station->app();
        window = std::make_unique<MainWindow>(*station);
        WindowOptions options;
        options.workDir = dir.path().string();
        options.programmer = programmer;
        std::string error;
        EXPECT_TRUE(window->Start(options, error)) << error;
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    std::vector<std::string> StatusLines() const
    {
        std::vector<std::string> out;
        const auto* list = Control<QListWidget>(window.get(), 1022);
        for (int i = 0; i < list->count(); ++i)
            out.push_back(list->item(i)->text().toStdString());
        return out;
    }
    std::string Text(int id) const
    {
        if (auto* label = Control<QLabel>(window.get(), id))
            return label->text().toStdString();
        return Control<QLineEdit>(window.get(), id)->text().toStdString();
    }
    bool Enabled(int id) const { return Control<QWidget>(window.get(), id)->isEnabled(); }

    TempDir dir;
    std::unique_ptr<Station> station;
    AppState* app = nullptr;
    std::unique_ptr<MainWindow> window;
    ModalHand hand;
};

// Saves a picture of a widget when MORSK_SCREENSHOT_DIR names a folder.
inline void Screenshot(QWidget* widget, const char* name)
{
    if (const char* dir = std::getenv("MORSK_SCREENSHOT_DIR"))
        widget->grab().save(QString::fromUtf8(dir) + QLatin1Char('/') + QString::fromUtf8(name));
}

inline ProgrammerOptions Simulated(bool realtime = false)
{
    ProgrammerOptions p;
    p.simulate = true;
    p.realtime = realtime;
    return p;
}

}  // namespace morsk::test
