// "编辑自动烧录方式": the steps of the auto run, over AutoEditorModel.
#pragma once

#include <QDialog>

#include "auto_editor_model.h"

class QListWidget;

namespace morsk {

class AutoEditorDialog : public QDialog {
    Q_OBJECT
public:
    explicit AutoEditorDialog(QWidget* parent = nullptr);

    // Shows the stored sequence for the family; after OK, sequence() is
    // the new text.
    int Open(uint8_t family, const char* sequence);
    std::string sequence() const { return model_.BuildSequence(); }
    const AutoEditorModel& model() const { return model_; }

private:
    void ShowChosen();
    static int SelectedRow(const QListWidget* list);

    AutoEditorModel model_;
    QListWidget* offered_;
    QListWidget* chosen_;
};

}  // namespace morsk
