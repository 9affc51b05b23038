// "选择器件": picks a manufacturer and one of its devices from Device.csv.
#pragma once

#include <QDialog>

#include <string>

#include "device_selection.h"

class QLabel;
class QListWidget;

namespace morsk {

class DeviceDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeviceDialog(QWidget* parent = nullptr);

    // Fills the lists from the saved indexes and shows the dialog modally.
    int Open(const std::string& deviceList, int savedManufIndex, int savedDeviceIndex);

    const DeviceSelectionModel& model() const { return model_; }

private:
    void ShowDevices();
    void ShowLogo();

    DeviceSelectionModel model_;
    QListWidget* manufacturers_;
    QListWidget* devices_;
    QLabel* logo_;
};

}  // namespace morsk
